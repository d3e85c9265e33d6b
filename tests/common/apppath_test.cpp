#include "common/apppath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace korvan;

namespace {

// Sets environment variables for one scope and restores them.
class Env {
 public:
  void set(const char* name, const std::optional<QByteArray>& value) {
    saved_.push_back({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
    if (value) {
      qputenv(name, *value);
    } else {
      qunsetenv(name);
    }
  }
  ~Env() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        qputenv(it->first, *it->second);
      } else {
        qunsetenv(it->first);
      }
    }
  }

 private:
  std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

class AppPath : public ::testing::Test {
 protected:
  void SetUp() override { before_ = GETAPPPATH(); }
  void TearDown() override {
    SET_APPPATH(before_);
    QDir::setCurrent(cwd_);
  }
  QTemporaryDir dir;

 private:
  QString before_;
  QString cwd_ = QDir::currentPath();
};

}  // namespace

TEST(GUser, FirstNonBlankVariableOrKorisnik) {
  const std::optional<QByteArray> none;
  const struct {
    std::optional<QByteArray> domain, username, user, logname;
    const char* expected;
  } cases[] = {
      {"FIRMA", "pera", "pera", "pera", "FIRMA"},
      {"  ", " pera ", "x", "x", "pera"},
      {"", "", "mika", "x", "mika"},
      {none, none, none, "zika", "zika"},
      {none, "", " ", "", "KORISNIK"},
      {"ODELJENJE/PRODAJA", none, none, none, "ODELJENJE_PRODAJA"},
      {"a\\b", none, none, none, "a_b"},
      {"..", none, none, none, "__"},
  };
  for (const auto& c : cases) {
    Env env;
    env.set("USERDOMAIN", c.domain);
    env.set("USERNAME", c.username);
    env.set("USER", c.user);
    env.set("LOGNAME", c.logname);
    EXPECT_EQ(G_USER(), c.expected);
  }
}

TEST_F(AppPath, FolderOfArgv0WithoutResolvingLinks) {
  // The executable lives elsewhere; the program folder is the folder of the link.
  ASSERT_TRUE(QDir().mkpath(dir.filePath("build/bin")));
  ASSERT_TRUE(QDir().mkpath(dir.filePath("run")));
  QFile exe(dir.filePath("build/bin/korvan"));
  ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
  exe.close();
  exe.setPermissions(QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner);
  ASSERT_TRUE(QFile::link(dir.filePath("build/bin/korvan"), dir.filePath("run/korvan")));

  SET_APPPATH_FROM_ARGV0(dir.filePath("run/korvan"));
  EXPECT_EQ(GETAPPPATH(), dir.path() + "/run/");

  ASSERT_TRUE(QDir::setCurrent(dir.filePath("run")));
  SET_APPPATH_FROM_ARGV0("./korvan");
  EXPECT_EQ(GETAPPPATH(), dir.path() + "/run/");
  SET_APPPATH_FROM_ARGV0("../run/./korvan");
  EXPECT_EQ(GETAPPPATH(), dir.path() + "/run/");

  {
    Env env;
    env.set("PATH", dir.filePath("nowhere").toUtf8() + ":" + dir.filePath("run").toUtf8());
    ASSERT_TRUE(QDir::setCurrent(dir.filePath("build")));
    SET_APPPATH_FROM_ARGV0("korvan");
    EXPECT_EQ(GETAPPPATH(), dir.path() + "/run/") << "a bare name is found in PATH";
    SET_APPPATH_FROM_ARGV0("not-on-path");
    EXPECT_EQ(GETAPPPATH(), dir.path() + "/build/") << "else the current folder";
  }

  SET_APPPATH(dir.filePath("Fakture"));
  EXPECT_EQ(GETAPPPATH(), dir.path() + "/Fakture/");
  EXPECT_EQ(FN_INI("aplik.ini"), dir.path() + "/Fakture/aplik.ini");
  SET_APPPATH("C:\\Fakture\\");
  EXPECT_EQ(GETAPPPATH(), "C:/Fakture/");
}
