// The SSH way's pieces: the scripts, the listing log rule, and its refusal
// where the transfer program is missing.
#include "update/ssh.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "support/ftppeer.h"

using namespace korvan;

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(UpdSsh, ScriptsHavePaddedFixedLinesAndCrLf) {
  QTemporaryDir dir;
  const QString script = dir.filePath("TMPSCRIPT.TXT");
  ASSERT_TRUE(LS_SKRIPT(script, "ja@server.rs", "/home/ja/update", "", "korvan"));
  const QList<QByteArray> lines = readAll(script).split('\n');
  ASSERT_EQ(lines.size(), 15);
  EXPECT_TRUE(lines.last().isEmpty()) << "every line ends with CR LF";
  for (int i = 0; i < 14; ++i) EXPECT_TRUE(lines[i].endsWith('\r')) << i;
  EXPECT_EQ(lines[2], QByteArray("option batch on").leftJustified(65) + '\r');
  EXPECT_EQ(lines[8], "open ja@server.rs -timeout=1000 -hostkey=*\r");
  EXPECT_EQ(lines[9], QByteArray("# List").leftJustified(65) + '\r');
  EXPECT_EQ(lines[10], "ls /home/ja/update\r");
  EXPECT_EQ(lines[13], QByteArray("exit").leftJustified(65) + '\r');

  ASSERT_TRUE(KOPI_SKRIPT(script, "ja@server.rs", "/home/ja/update", "/prog/SCP/", "korvan"));
  const QList<QByteArray> get = readAll(script).split('\n');
  ASSERT_EQ(get.size(), 19);
  EXPECT_EQ(get[10], "cd /home/ja/update\r");
  EXPECT_EQ(get[12], QByteArray("option transfer binary").leftJustified(65) + '\r');
  EXPECT_EQ(get[13], QByteArray("# Download file to the local directory d:\\").leftJustified(65) + '\r');
  EXPECT_EQ(get[14], "get -preservetime korvan /prog/SCP/\r");

  EXPECT_FALSE(LS_SKRIPT(script, "ja@server.rs", "/x\r\nrm *", "", "korvan")) << "no line break into a script";
}

TEST(UpdSsh, RemoteCopyNewerFromTheListingLog) {
  QTemporaryDir dir;
  const QString exe = dir.filePath("korvan");
  QFile f(exe);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2022, 12, 14), QTime(10, 0, 0)), QFileDevice::FileModificationTime));
  f.close();
  auto log = [&](const QByteArray& name, const QByteArray& stamp) {
    QFile l(dir.filePath("TMPLOG.XML"));
    EXPECT_TRUE(l.open(QIODevice::WriteOnly | QIODevice::Truncate));
    l.write("<ls>\r\n<file>\r\n<filename value=\"" + name + "\" />\r\n<size value=\"10\" />\r\n"
            "<modification value=\"" + stamp + "\" />\r\n</file>\r\n</ls>\r\n");
  };
  const struct {
    const char* name;
    QByteArray file;
    QByteArray stamp;  // GMT; two hours are added
    bool newer;
  } cases[] = {
      {"a later day", "korvan", "2022-12-15T01:00:00.000Z", true},
      {"same day, later after the shift", "korvan", "2022-12-14T08:00:01.000Z", true},
      {"exactly one hour after the shift", "korvan", "2022-12-14T09:00:00.000Z", false},
      {"earlier", "korvan", "2022-12-14T07:00:00.000Z", false},
      {"upper-case name in the log", "KORVAN", "2022-12-15T01:00:00.000Z", true},
      {"another file only", "update", "2022-12-15T01:00:00.000Z", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    log(c.file, c.stamp);
    EXPECT_EQ(TREBA_KOPI(dir.filePath("TMPLOG.XML"), "korvan", exe), c.newer);
  }
  EXPECT_FALSE(TREBA_KOPI(dir.filePath("nema.xml"), "korvan", exe));
}

TEST(UpdSsh, NoTransferProgramNoSshWay) {
  QTemporaryDir dir;
  QString folder = "ssh>ja@127.0.0.1/home/ja";
  EXPECT_FALSE(RADI_SSH(folder, dir.path(), "korvan", dir.filePath("korvan"), nullptr));
  EXPECT_EQ(folder, "ssh>ja@127.0.0.1/home/ja");
  EXPECT_FALSE(ISSERVERUP("127.0.0.1", korvan::test::FtpPeer::closedPort()));
  korvan::test::FtpPeer peer;
  ASSERT_TRUE(peer.start()) << peer.error().toStdString();
  EXPECT_TRUE(ISSERVERUP("127.0.0.1", peer.port()));
}

}  // namespace
