// The shell layer: what reaches the desktop opener and started programs, and
// the recorder that tests install.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/shell.h"
#include "support/recordingshell.h"

namespace korvan::platform {
namespace {

// A stand-in "xdg-open" first on PATH that writes its arguments, one a line.
class FakeOpener : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    out = dir.filePath(QStringLiteral("args.txt"));
    writeScript(QStringLiteral("xdg-open"),
                QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '") + out +
                    QStringLiteral("'\n"));
    oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()) + ":" + oldPath);
  }
  void TearDown() override { qputenv("PATH", oldPath); }

  void writeScript(const QString& name, const QString& body) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(body.toUtf8());
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  QStringList waitForLines(const QString& file) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(file).size() > 0; }, 5000)) << "no output";
    QTest::qWait(50);  // the script may still be writing
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString s = QString::fromUtf8(f.readAll());
    if (s.endsWith(QLatin1Char('\n'))) s.chop(1);
    return s.split(QLatin1Char('\n'));
  }

  QTemporaryDir dir;
  QString out;
  QByteArray oldPath;
};

TEST_F(FakeOpener, DocumentPathReachesTheOpenerIntactAsOneArgument) {
  const QString name = dir.filePath(QString::fromUtf8("Račun 1;$(touch pwned) `id`.pdf"));
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_TRUE(shell().openDocument(name));
  EXPECT_EQ(waitForLines(out), QStringList{name});
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("pwned")));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("pwned"))));
}

TEST_F(FakeOpener, RelativeDocumentGoesAsAbsolutePathSoItIsNeverAnOption) {
  const QString saved = QDir::currentPath();
  QDir::setCurrent(dir.path());
  QFile f(dir.filePath(QStringLiteral("--help")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_TRUE(shell().openDocument(QStringLiteral("--help")));
  QDir::setCurrent(saved);
  EXPECT_EQ(waitForLines(out), QStringList{dir.filePath(QStringLiteral("--help"))});
}

TEST_F(FakeOpener, WebLinksOpenOtherSchemesAndMissingFilesDoNot) {
  EXPECT_FALSE(shell().openDocument(dir.filePath(QStringLiteral("nema.pdf"))));
  EXPECT_FALSE(shell().openDocument(QString()));
  EXPECT_FALSE(shell().openUrl(QUrl(QStringLiteral("javascript:alert(1)"))));
  EXPECT_FALSE(shell().openUrl(QUrl(QStringLiteral("ftp://host/x"))));
  EXPECT_FALSE(shell().openUrl(QUrl::fromLocalFile(dir.filePath(QStringLiteral("nema")))));
  QTest::qWait(100);
  EXPECT_FALSE(QFileInfo::exists(out));
  EXPECT_TRUE(shell().openUrl(QUrl(QStringLiteral("https://example.com/a b?x=1&y=2"))));
  EXPECT_EQ(waitForLines(out), QStringList{QStringLiteral("https://example.com/a%20b?x=1&y=2")});
}

TEST_F(FakeOpener, FileLinkOpensTheFolder) {
  EXPECT_TRUE(shell().openUrl(QUrl::fromLocalFile(dir.path())));
  EXPECT_EQ(waitForLines(out), QStringList{dir.path()});
}

TEST_F(FakeOpener, ProgramGetsItsArgumentsAndFolder) {
  const QString prog = dir.filePath(QStringLiteral("prog"));
  const QString progOut = dir.filePath(QStringLiteral("prog.txt"));
  writeScript(QStringLiteral("prog"), QStringLiteral("#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '") +
                                          progOut + QStringLiteral("'\n"));
  QDir(dir.path()).mkdir(QStringLiteral("rad"));
  const QStringList args = {QStringLiteral("a b"), QStringLiteral(";$(touch pwned)"), QString::fromUtf8("č")};
  EXPECT_TRUE(shell().startProgram(prog, args, dir.filePath(QStringLiteral("rad"))));
  EXPECT_EQ(waitForLines(progOut), QStringList{dir.filePath(QStringLiteral("rad"))} + args);
  EXPECT_FALSE(shell().startProgram(dir.filePath(QStringLiteral("nema")), {}));
}

TEST(RecordingShell, RecordsInstallsItselfAndPutsThePreviousBack) {
  Shell* real = &shell();
  {
    RecordingShell outer;
    EXPECT_EQ(&shell(), &outer);
    {
      RecordingShell inner;
      inner.result = false;
      EXPECT_FALSE(shell().openDocument(QStringLiteral("/x")));
      EXPECT_EQ(inner.calls.size(), 1);
    }
    EXPECT_EQ(&shell(), &outer);
    EXPECT_TRUE(shell().openUrl(QUrl(QStringLiteral("https://a/b"))));
    EXPECT_FALSE(shell().openUrl(QUrl(QStringLiteral("mailto:a@b"))));
    EXPECT_TRUE(shell().startProgram(QStringLiteral("update"), {QStringLiteral("-x")}, QStringLiteral("/tmp")));
    ASSERT_EQ(outer.calls.size(), 3);
    EXPECT_EQ(outer.calls[0].op, QStringLiteral("url"));
    EXPECT_EQ(outer.calls[0].target, QStringLiteral("https://a/b"));
    EXPECT_EQ(outer.calls[2].op, QStringLiteral("program"));
    EXPECT_EQ(outer.calls[2].args, QStringList{QStringLiteral("-x")});
    EXPECT_EQ(outer.calls[2].folder, QStringLiteral("/tmp"));
  }
  EXPECT_EQ(&shell(), real);
}

}  // namespace
}  // namespace korvan::platform
