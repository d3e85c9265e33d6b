#include "platform/ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvan::platform;

TEST(IniText, KeepsLinesAndWritesCrLf) {
  IniText ini("\xEF\xBB\xBF; top\n[A]\nK = 1\n\n[B]\nX\n");
  ini.setValue("a", "k", "2");
  ini.setValue("B", "N", "3");
  EXPECT_EQ(ini.bytes(), "\xEF\xBB\xBF; top\r\n[A]\r\nK=2\r\n\r\n[B]\r\nX\r\nN=3\r\n");
  EXPECT_EQ(ini.keys("b"), (QList<QByteArray>{"X", "N"}));
}

TEST(Utf8Left, NeverCutsACharacter) {
  const QByteArray s = "a\xC5\xA0\xE2\x82\xAC";  // a Š €
  EXPECT_EQ(utf8Left(s, 6), s);
  EXPECT_EQ(utf8Left(s, 5), "a\xC5\xA0");
  EXPECT_EQ(utf8Left(s, 4), "a\xC5\xA0");
  EXPECT_EQ(utf8Left(s, 2), "a");
  EXPECT_EQ(utf8Left(s, 1), "a");
}

TEST(IniWrite, ReplacesTheFileWithoutTouchingTheOldOne) {
  QTemporaryDir dir;
  const QString file = dir.filePath("aplik.ini");
  ASSERT_TRUE(iniWrite(file, "Config", QByteArray("K"), QByteArray("1")).ok);
  ::chmod(QFile::encodeName(file).constData(), 0640);
  // A second name for the old file still shows the old content afterwards:
  // the new content was written beside it and renamed over the name.
  const QString old = dir.filePath("old.ini");
  ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(old).constData()), 0);
  ASSERT_TRUE(iniWrite(file, "Config", QByteArray("K"), QByteArray("2")).ok);
  EXPECT_EQ(iniRead(old, "Config", "K"), QByteArray("1"));
  EXPECT_EQ(iniRead(file, "Config", "K"), QByteArray("2"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
}

TEST(IniWrite, AReadOnlyFileIsNotWritten) {
  QTemporaryDir dir;
  const QString file = dir.filePath("aplik.ini");
  ASSERT_TRUE(iniWrite(file, "Firma", QByteArray("K"), QByteArray("1")).ok);
  ::chmod(QFile::encodeName(file).constData(), 0444);
  for (const std::optional<QByteArray>& value : {std::optional<QByteArray>("2"), std::optional<QByteArray>()}) {
    const IniWriteResult r = iniWrite(file, "Firma", QByteArray("K"), value);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCode, EACCES);
  }
  EXPECT_EQ(iniRead(file, "Firma", "K"), QByteArray("1"));
  // Writable again for its owner alone: written.
  ::chmod(QFile::encodeName(file).constData(), 0644);
  EXPECT_TRUE(iniWrite(file, "Firma", QByteArray("K"), QByteArray("3")).ok);
  EXPECT_EQ(iniRead(file, "Firma", "K"), QByteArray("3"));
}

TEST(IniWrite, ConcurrentWritersLoseNothing) {
  QTemporaryDir dir;
  const QString file = dir.filePath("aplik.ini");
  constexpr int kWriters = 4, kKeys = 25;
  pid_t pids[kWriters];
  for (int w = 0; w < kWriters; ++w) {
    pids[w] = ::fork();
    ASSERT_GE(pids[w], 0);
    if (pids[w] == 0) {
      bool ok = true;
      for (int k = 0; k < kKeys; ++k) {
        const QByteArray key = "W" + QByteArray::number(w) + "_" + QByteArray::number(k);
        ok = iniWrite(file, "Config", key, QByteArray(300, char('a' + w))).ok && ok;
      }
      ::_exit(ok ? 0 : 1);
    }
  }
  for (pid_t p : pids) {
    int status = 0;
    ASSERT_EQ(::waitpid(p, &status, 0), p);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int w = 0; w < kWriters; ++w) {
    for (int k = 0; k < kKeys; ++k) {
      const QByteArray key = "W" + QByteArray::number(w) + "_" + QByteArray::number(k);
      EXPECT_EQ(iniRead(file, "Config", key), QByteArray(300, char('a' + w))) << key.constData();
    }
  }
  EXPECT_EQ(iniKeys(file, "Config").size(), kWriters * kKeys);
}

TEST(IniRead, WhatIsNoSettingsFileFailsAtOnce) {
  QTemporaryDir dir;
  // A pipe would block a plain read for ever; a huge file would be read whole.
  const QString fifo = dir.filePath("fifo.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString big = dir.filePath("big.ini");
  {
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Config]\r\nK=1\r\n");
    ASSERT_TRUE(f.resize(kIniFileMax + 1));
  }
  for (const QString& file : {fifo, big}) {
    SCOPED_TRACE(file.toStdString());
    EXPECT_EQ(iniRead(file, "Config", "K"), std::nullopt);
    const IniWriteResult w = iniWrite(file, "Config", QByteArray("K"), QByteArray("2"));
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.errorCode, 0);
  }
  EXPECT_EQ(QFileInfo(big).size(), kIniFileMax + 1) << "the refused file is left as it was";
}

TEST(IniText, RemovingASectionTakesEveryNamesakeInOnePass) {
  QByteArray text = "; top\n";
  for (int i = 0; i < 20000; ++i) text += "[Dup]\nK=" + QByteArray::number(i) + "\n[Keep" + QByteArray::number(i) + "]\nX=1\n";
  IniText ini(text);
  EXPECT_TRUE(ini.removeSection("dup"));
  EXPECT_FALSE(ini.hasSection("Dup"));
  EXPECT_TRUE(ini.hasSection("Keep19999"));
  EXPECT_EQ(ini.keys("Keep0"), (QList<QByteArray>{"X"}));
  EXPECT_TRUE(ini.bytes().startsWith("; top\r\n[Keep0]\r\nX=1\r\n[Keep1]"));
  EXPECT_FALSE(ini.removeSection("Dup"));
}
