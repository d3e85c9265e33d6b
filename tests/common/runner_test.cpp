#include "common/runner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <sys/stat.h>

using namespace korvan;

namespace {

class Runner : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString path(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(Runner, WaitrunGivesTheExitCode) {
  EXPECT_EQ(WAITRUN("/bin/sh", {"-c", "exit 0"}), 0);
  EXPECT_EQ(WAITRUN("/bin/sh", {"-c", "exit 3"}), 3);
  EXPECT_EQ(WAITRUN(path("missing"), {}), -1);
}

TEST_F(Runner, AHostileArgumentArrivesIntactAndRunsNothing) {
  const QString evil = "\"$(touch x)\"; rm -rf " + path("victim");
  QFile victim(path("victim"));
  ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
  victim.close();
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  // test(1) succeeds only when the argument arrived byte for byte.
  const int code = WAITRUN("/usr/bin/test", {evil, "=", "\"$(touch x)\"; rm -rf " + path("victim")});
  QDir::setCurrent(before);
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(QFile::exists(path("x")));
  EXPECT_TRUE(QFile::exists(path("victim")));
}

TEST_F(Runner, IzvrsiBatWritesThePrivateRecordFileThenRuns) {
  const QString rec = path("CURLUJ.BAT");
  QFile old(rec);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(QByteArray(500, 'x'));  // a longer leftover is truncated
  old.close();
  ASSERT_TRUE(QFile::setPermissions(rec, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadOther));
  EXPECT_TRUE(IZVRSI_BAT(rec, {"url = \"x\"", "silent", QString::fromUtf8("ž")}, "/bin/sh",
                         {"-c", "test -s \"$0\"", rec}));
  QFile f(rec);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("url = \"x\"\r\nsilent\r\n\xC5\xBE\r\n"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(rec).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_FALSE(IZVRSI_BAT(rec, {"a"}, "/bin/sh", {"-c", "exit 3"}));
  EXPECT_FALSE(IZVRSI_BAT(rec, {"a"}, path("missing"), {}));
}

TEST_F(Runner, CurlReadsTheRecordFile) {
  if (WAITRUN("curl", {"--version"}) != 0) GTEST_SKIP() << "curl is not installed";
  QFile in(path("in.txt"));
  ASSERT_TRUE(in.open(QIODevice::WriteOnly));
  in.write("odgovor");
  in.close();
  const QString rec = path("CURLUJ.BAT");
  EXPECT_TRUE(IZVRSI_BAT(rec,
                         {"url = \"file://" + path("in.txt") + "\"",
                          "output = \"" + path("out.txt") + "\"", "silent"},
                         "curl", {"-K", rec}, 20000));
  QFile out(path("out.txt"));
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  EXPECT_EQ(out.readAll(), "odgovor");
}

TEST_F(Runner, ARecordFileThatCannotBeWrittenRunsNothing) {
  const QString marker = path("ran");
  const QStringList touch = {"-c", "touch \"$0\"", marker};
  EXPECT_FALSE(IZVRSI_BAT(path("nofolder/CURLUJ.BAT"), {"a"}, "/bin/sh", touch));
  EXPECT_FALSE(QFile::exists(marker));
  // A link planted at the record path is not followed.
  const QString target = path("target");
  ASSERT_TRUE(QFile::link(target, path("link.bat")));
  EXPECT_FALSE(IZVRSI_BAT(path("link.bat"), {"a"}, "/bin/sh", touch));
  EXPECT_FALSE(QFile::exists(target));
  EXPECT_FALSE(QFile::exists(marker));
  // Without a record file the program simply runs.
  EXPECT_TRUE(IZVRSI_BAT(QString(), {}, "/bin/sh", touch));
  EXPECT_TRUE(QFile::exists(marker));
}

TEST(Delay, WaitsAtLeastTheTimeGiven) {
  QElapsedTimer t;
  t.start();
  DELAY(0.15);
  EXPECT_GE(t.nsecsElapsed(), 150'000'000);
  DELAY(0);
  DELAY(-1);
  DELAY(NAN);
}

}  // namespace
