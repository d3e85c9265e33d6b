// The FTP client against a real server on 127.0.0.1 (tests/support/ftppeer.h).
#include "platform/ftp.h"
#include "platform/process.h"
#include "support/ftppeer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvan::platform;
using korvan::test::FtpPeer;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class FtpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    ASSERT_TRUE(local.isValid());
  }
  FtpCall call(const QString& folder = QStringLiteral("korvan")) const {
    return FtpCall{.account = {.host = peer.host(), .user = FtpPeer::user(), .password = FtpPeer::password()},
                   .folder = folder,
                   .workFolder = local.path()};
  }
  QString localFile(const QString& name) const { return local.path() + u'/' + name; }

  FtpPeer peer;
  QTemporaryDir local;
};

TEST_F(FtpTest, DownloadWritesTheWholeFileUnderItsName) {
  QByteArray big(300000, '\0');
  for (int i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  ASSERT_TRUE(peer.put("korvan/korvan", big));
  ASSERT_TRUE(peer.put("korvan/prazan", ""));
  const FtpResult r = ftp().download(call(), "korvan", localFile("korvan"));
  EXPECT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_TRUE(r.connected);
  EXPECT_TRUE(r.loginReply.startsWith("230")) << r.loginReply.toStdString();
  EXPECT_TRUE(r.lastReply.startsWith("226")) << r.lastReply.toStdString();
  EXPECT_TRUE(r.error.isEmpty());
  EXPECT_EQ(readAll(localFile("korvan")), big);
  EXPECT_FALSE(QFile::exists(localFile("korvan.part")));

  const FtpResult empty = ftp().download(call(), "prazan", localFile("prazan"));
  EXPECT_TRUE(empty.ok) << empty.error.toStdString();
  EXPECT_EQ(readAll(localFile("prazan")), QByteArray());
}

TEST_F(FtpTest, ACutOrMissingTransferLeavesTheLocalFileAsItWas) {
  ASSERT_TRUE(peer.put("korvan/korvan", QByteArray(200000, 'n')));
  peer.cut({"korvan"});
  QFile old(localFile("korvan"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old copy");
  old.close();
  for (const QString& name : {QStringLiteral("korvan"), QStringLiteral("nema")}) {
    SCOPED_TRACE(name.toStdString());
    const FtpResult r = ftp().download(call(), name, localFile("korvan"));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.connected);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(readAll(localFile("korvan")), "old copy");
    EXPECT_FALSE(QFile::exists(localFile("korvan.part")));
  }
}

TEST_F(FtpTest, ListsByMaskIgnoringCaseAndDeletes) {
  ASSERT_TRUE(peer.put("qumir/101/a.txt", "a"));
  ASSERT_TRUE(peer.put("qumir/101/B.TXT", "b"));
  ASSERT_TRUE(peer.put("qumir/101/c.dat", "c"));
  FtpResult r = ftp().list(call("qumir/101"), "*.txt");
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  r.names.sort();
  EXPECT_EQ(r.names, QStringList({"B.TXT", "a.txt"}));
  ASSERT_EQ(r.entries.size(), 2);
  for (const FtpEntry& e : r.entries) {
    SCOPED_TRACE(e.name.toStdString());
    EXPECT_TRUE(r.names.contains(e.name));
    EXPECT_EQ(e.size, 1);
    EXPECT_TRUE(e.attributes.startsWith('-')) << e.attributes.toStdString();
  }
  EXPECT_EQ(ftp().list(call("qumir/101"), QString()).names.size(), 3);

  EXPECT_TRUE(ftp().remove(call("qumir/101"), "a.txt").ok);
  EXPECT_FALSE(QFile::exists(peer.root() + "/qumir/101/a.txt"));
  const FtpResult again = ftp().remove(call("qumir/101"), "a.txt");
  EXPECT_FALSE(again.ok);
  EXPECT_TRUE(again.lastReply.startsWith("550")) << again.lastReply.toStdString();

  const FtpResult noFolder = ftp().list(call("qumir/999"), "*");
  EXPECT_FALSE(noFolder.ok);
  EXPECT_TRUE(noFolder.connected);
}

TEST_F(FtpTest, FailuresToConnect) {
  FtpCall wrong = call();
  wrong.account.password = "pogresna9";
  FtpCall closed = call();
  closed.account.host = "127.0.0.1:" + QString::number(FtpPeer::closedPort());
  FtpPeer silent(FtpPeer::Mode::Silent);
  ASSERT_TRUE(silent.start()) << silent.error().toStdString();
  FtpCall mute = call();
  mute.account.host = silent.host();
  struct Case {
    const char* name;
    FtpCall call;
    const char* reply;  // the start of the last reply
    bool reached;       // the port took the connection
  } cases[] = {{"wrong password", wrong, "530", true}, {"closed port", closed, "", false}, {"never greets", mute, "", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FtpResult r = ftp().download(c.call, "ver.txt", localFile("ver.txt"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.connected);
    EXPECT_EQ(r.reached, c.reached);
    if (*c.reply) EXPECT_TRUE(r.lastReply.startsWith(c.reply)) << r.lastReply.toStdString();
    else EXPECT_TRUE(r.lastReply.isEmpty()) << r.lastReply.toStdString();
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_FALSE(r.error.contains(FtpPeer::password()) || r.lastReply.contains(FtpPeer::password()));
    EXPECT_FALSE(QFile::exists(localFile("ver.txt")));
  }
}

// Sees every program the client starts, and the config file while it exists.
class Spy : public ProcessRunner {
 public:
  Spy() { setProcessRunner(this); }
  ~Spy() override { setProcessRunner(nullptr); }
  ProcessResult run(const ProcessRequest& r) override {
    args << r.arguments;
    if (r.arguments.size() == 2) {
      configPath = r.arguments[1];
      config = readAll(configPath);
      permissions = QFileInfo(configPath).permissions();
    }
    setProcessRunner(nullptr);
    ProcessResult result = runProcess(r);
    setProcessRunner(this);
    return result;
  }
  QList<QStringList> args;
  QString configPath;
  QByteArray config;
  QFileDevice::Permissions permissions;
};

TEST_F(FtpTest, ThePasswordGoesOnlyIntoAPrivateConfigFile) {
  ASSERT_TRUE(peer.put("korvan/ver.txt", "2023.01.01"));
  FtpCall c = call();
  c.account.password = "ta\"jna\\1";
  Spy spy;
  ftp().download(c, "ver.txt", localFile("ver.txt"));
  ASSERT_EQ(spy.args.size(), 1);
  EXPECT_EQ(spy.args[0][0], "-K");
  EXPECT_FALSE(spy.args[0].join(' ').contains("jna"));
  EXPECT_TRUE(spy.config.contains("user = \"korvan-test:ta\\\"jna\\\\1\"")) << spy.config.toStdString();
  EXPECT_TRUE(spy.permissions & QFileDevice::ReadOwner);
  EXPECT_FALSE(spy.permissions & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                                  QFileDevice::WriteOther))
      << "mode 0600";
  EXPECT_FALSE(QFile::exists(spy.configPath)) << "removed after the call";
}

TEST_F(FtpTest, UnsafeNamesAreRefusedBeforeAnythingRuns) {
  Spy spy;
  FtpCall badHost = call();
  badHost.account.host = "host -K /etc/passwd";
  FtpCall badFolder = call("../etc");
  FtpCall badUser = call();
  badUser.account.user = "a:b";
  FtpCall badPassword = call();
  badPassword.account.password = "a\nurl = \"file:///etc/passwd\"";
  const FtpResult results[] = {
      ftp().download(call(), "../korvan", localFile("x")), ftp().download(call(), "a/b", localFile("x")),
      ftp().download(call(), "", localFile("x")),          ftp().remove(call(), "a\r\nDELE b"),
      ftp().list(badFolder, "*"),                           ftp().list(badHost, "*"),
      ftp().list(badUser, "*"),                             ftp().list(badPassword, "*"),
  };
  for (const FtpResult& r : results) {
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
  }
  EXPECT_TRUE(spy.args.isEmpty());
}

TEST(FtpNames, PlainNamesAndHosts) {
  for (const char* good : {"korvan", "ver.txt", "a b.txt", "Račun 1.pdf", "..a"}) EXPECT_TRUE(ftpPlainName(good)) << good;
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "a\nb", "a\tb"}) EXPECT_FALSE(ftpPlainName(bad)) << bad;
  for (const char* good : {"ftp.example.rs", "127.0.0.1:2121", "a", "a-b.c:21"}) EXPECT_TRUE(ftpPlainHost(good)) << good;
  for (const char* bad : {"", "a b", "-K", "host:0", "host:65536", "host:", "user@host", "a/b", ".a"})
    EXPECT_FALSE(ftpPlainHost(bad)) << bad;
}

TEST(FtpNames, UnixListingLines) {
  struct Case {
    const char* line;
    const char* name;  // nullptr: no listing line
    qint64 size;
    const char* date;
    const char* time;
  } cases[] = {
      {"-rw-r--r--   1 korvan   korvan        42 Dec 11 15:22 101 racun.web", "101 racun.web", 42, "Dec 11", "15:22"},
      {"-rw-r--r-- 1 owner group 1234 Jan  5  2021 stari.web", "stari.web", 1234, "Jan 5", "2021"},
      {"drwxr-xr-x   2 o g 4096 Mar 01 09:00 arhiva", "arhiva", 4096, "Mar 01", "09:00"},
      {"lrwxrwxrwx   1 o g 7 Mar 01 09:00 veza.web -> a.web", "veza.web", 7, "Mar 01", "09:00"},
      {"total 12", nullptr, 0, "", ""},
      {"12-11-26  03:22PM                 42 racun.web", nullptr, 0, "", ""},
      {"", nullptr, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<FtpEntry> e = ftpListLine(QString::fromUtf8(c.line));
    ASSERT_EQ(e.has_value(), c.name != nullptr);
    if (!e) continue;
    EXPECT_EQ(e->name, QString::fromUtf8(c.name));
    EXPECT_EQ(e->size, c.size);
    EXPECT_EQ(e->date, c.date);
    EXPECT_EQ(e->time, c.time);
  }
}

}  // namespace
