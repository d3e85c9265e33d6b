// The updater program on temporary folders: the old "program" and the new
// one are scripts that note their start in a marker file.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "update/check.h"

using namespace korvan;

namespace {

const QString kUpdater = KORVAN_BINARY_DIR "/tools/updater/update";

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool write(const QString& path, const QByteArray& bytes, mode_t mode) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return false;
  f.close();
  return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// The marker's text once a started script wrote it (empty after 10 s).
QByteArray waitForMarker(const QString& path) {
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired()) {
    const QByteArray text = readAll(path);
    if (text.endsWith('\n')) return text;
    QThread::msleep(50);
  }
  return QByteArray();
}

class Updater : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(kUpdater));
    // Another file system where the machine has one, else just another folder.
    other = std::make_unique<QTemporaryDir>("/dev/shm/korvan-upd-XXXXXX");
    if (!other->isValid()) other = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir.isValid() && other->isValid());
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    prog = dir.path() + "/prog";
    marks = dir.path() + "/marks";
    upd = prog + "/UPDFTP";
    ASSERT_TRUE(QDir().mkpath(upd) && QDir().mkpath(marks));
    ::chmod(QFile::encodeName(marks).constData(), 0777);
    ::chmod(QFile::encodeName(upd).constData(), 0777);
    oldBytes = "#!/bin/sh\necho old >> '" + marks.toUtf8() + "/started'\n";
    newBytes = "#!/bin/sh\necho new >> '" + marks.toUtf8() + "/started'\n";
    ASSERT_TRUE(write(prog + "/korvan", oldBytes, 0755));
  }
  void waiting(const QString& folder, const QByteArray& crc) {
    ASSERT_TRUE(write(folder + "/korvan", newBytes, 0644));
    ASSERT_TRUE(write(folder + "/korvan.sfv", "korvan " + crc + "\r\n", 0644));
  }
  int run(const QString& fresh, uid_t as = 0) {
    QProcess p;
    if (as) p.setChildProcessModifier([as] { (void)::setgid(as); (void)::setuid(as); });
    p.start(kUpdater, {fresh, prog + "/korvan"});
    EXPECT_TRUE(p.waitForFinished(30000));
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }
  QStringList logLines() const {
    return QString::fromUtf8(readAll(upd + "/update.log")).split("\r\n", Qt::SkipEmptyParts);
  }

  QTemporaryDir dir;
  std::unique_ptr<QTemporaryDir> other;
  QString prog, marks, upd;
  QByteArray oldBytes, newBytes;
};

TEST_F(Updater, ReplacesTheProgramAndStartsTheNewOne) {
  for (const QString& folder : {upd, other->path()}) {
    SCOPED_TRACE(folder.toStdString());
    ASSERT_TRUE(write(prog + "/korvan", oldBytes, 0750));
    QFile::remove(marks + "/started");
    waiting(folder, CRC32_HEX(newBytes).toLatin1());
    EXPECT_EQ(run(folder + "/korvan"), 0);
    EXPECT_EQ(readAll(prog + "/korvan"), newBytes);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(prog + "/korvan").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0751u) << "the old permissions with every run bit";
    EXPECT_FALSE(QFile::exists(folder + "/korvan"));
    EXPECT_EQ(waitForMarker(marks + "/started"), "new\n");
    EXPECT_TRUE(QDir(prog).entryList(QDir::Files | QDir::Hidden).contains("korvan"));
    EXPECT_EQ(QDir(prog).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
  }
}

TEST_F(Updater, ABadCopyLeavesTheOldProgramAndStartsIt) {
  const struct {
    const char* name;
    QByteArray sfv;  // empty: no check file
  } cases[] = {{"bad CRC", "korvan 00000000\r\n"}, {"no line", "update 00000000\r\n"}, {"no check file", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(marks + "/started");
    QFile::remove(upd + "/update.log");
    waiting(upd, "x");
    if (c.sfv.isEmpty()) QFile::remove(upd + "/korvan.sfv");
    else ASSERT_TRUE(write(upd + "/korvan.sfv", c.sfv, 0644));
    EXPECT_EQ(run(upd + "/korvan"), 1);
    EXPECT_EQ(readAll(prog + "/korvan"), oldBytes);
    EXPECT_EQ(logLines().size(), 1);
    EXPECT_EQ(waitForMarker(marks + "/started"), "old\n");
  }
}

TEST_F(Updater, AnUnreplaceableProgramIsLeftAndStarted) {
  waiting(upd, CRC32_HEX(newBytes).toLatin1());
  // Root may write anywhere: the updater then runs as an ordinary user.
  const uid_t as = ::geteuid() == 0 ? 65534 : 0;
  if (as) {
    ASSERT_EQ(::chown(QFile::encodeName(upd + "/korvan").constData(), as, as), 0);
  }
  ASSERT_EQ(::chmod(QFile::encodeName(prog).constData(), 0555), 0);
  const int code = run(upd + "/korvan", as);
  ::chmod(QFile::encodeName(prog).constData(), 0755);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(readAll(prog + "/korvan"), oldBytes);
  ASSERT_EQ(logLines().size(), 1);
  EXPECT_TRUE(logLines()[0].contains("korvan")) << logLines()[0].toStdString();
  EXPECT_EQ(waitForMarker(marks + "/started"), "old\n");
}

}  // namespace
