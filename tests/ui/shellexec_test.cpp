// The shell wrapper: documents and folders to the opener, programs with an
// argument list, and hostile names that must stay plain text.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/shell.h"
#include "ui/shellexec.h"
#include "support/recordingshell.h"

namespace korvan::test {
namespace {

const QString kHostile = QStringLiteral("racun;$(touch marker) `touch marker2` & a.pdf");

class ShellExec : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());  // where an interpreted name would leave its marker
  }
  void TearDown() override { QDir::setCurrent(oldCwd); }

  QString write(const QString& name, const QByteArray& body, bool executable = false) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(body);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
  }
  // A script that writes its arguments, one a line, into `out` beside it.
  QString recorder(const QString& name, const QString& out) {
    return write(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/" +
                           out.toUtf8() + ".tmp\"\nmv \"$(dirname \"$0\")/" + out.toUtf8() + ".tmp\" \"$(dirname \"$0\")/" +
                           out.toUtf8() + "\"\n",
                 true);
  }
  QStringList waitForLines(const QString& name) {
    const QString path = dir.filePath(name);
    if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 10000)) return {QStringLiteral("<nothing>")};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("<unreadable>")};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
  }
  bool markersLeft() const {
    return QFile::exists(dir.filePath(QStringLiteral("marker"))) ||
           QFile::exists(dir.filePath(QStringLiteral("marker2")));
  }

  QTemporaryDir dir;
  QString oldCwd;
};

TEST_F(ShellExec, DocumentsFoldersAndFailuresThroughTheOpener) {
  const QString pdf = write(kHostile, "%PDF-1.4\n");
  // A document with the executable bit (as copied from a Windows share) is still a document.
  const QString looseBits = write(QStringLiteral("b.pdf"), "%PDF-1.4\n", true);
  QDir(dir.path()).mkdir(QStringLiteral("folder"));
  const QString folder = dir.filePath(QStringLiteral("folder"));

  struct Case {
    const char* name;
    QString op, file, params, folder;
    bool opener = true;         // the opener's answer
    int result;
    QString opened;             // "" = nothing reached the opener
  };
  const QList<Case> cases = {
      {"PDF, default action", QString(), pdf, QString(), QString(), true, SHELL_OK, pdf},
      {"PDF, open, parameters ignored", QStringLiteral("open"), pdf, QStringLiteral("-x"), QString(), true, SHELL_OK, pdf},
      {"relative to the folder", QString(), kHostile, QString(), dir.path(), true, SHELL_OK, pdf},
      {"document with the executable bit", QString(), looseBits, QString(), QString(), true, SHELL_OK, looseBits},
      {"folder", QString(), folder, QString(), QString(), true, SHELL_OK, folder},
      {"explore a folder", QStringLiteral("explore"), folder, QString(), QString(), true, SHELL_OK, folder},
      {"explore a file", QStringLiteral("explore"), pdf, QString(), QString(), true, SHELL_NO_ASSOCIATION, QString()},
      {"opener fails", QString(), pdf, QString(), QString(), false, SHELL_NO_ASSOCIATION, pdf},
      {"missing file", QString(), dir.filePath(QStringLiteral("nema.pdf")), QString(), QString(), true,
       SHELL_FILE_NOT_FOUND, QString()},
      {"no file", QString(), QString(), QString(), QString(), true, SHELL_FILE_NOT_FOUND, QString()},
      {"missing working folder", QString(), pdf, QString(), dir.filePath(QStringLiteral("nema")), true,
       SHELL_PATH_NOT_FOUND, QString()},
      {"unknown operation", QStringLiteral("print"), pdf, QString(), QString(), true, SHELL_NO_ASSOCIATION, QString()},
  };
  for (const Case& c : cases) {
    RecordingShell rec;
    rec.result = c.opener;
    EXPECT_EQ(SHELLEXECUTE(0, c.op, c.file, c.params, c.folder, 1), c.result) << c.name;
    if (c.opened.isEmpty()) {
      EXPECT_TRUE(rec.calls.isEmpty()) << c.name;
      continue;
    }
    ASSERT_EQ(rec.calls.size(), 1) << c.name;
    EXPECT_EQ(rec.calls[0].op, QStringLiteral("document")) << c.name;
    EXPECT_EQ(rec.calls[0].target, c.opened) << c.name;
  }
  EXPECT_FALSE(markersLeft());
}

TEST_F(ShellExec, ProgramsGetTheirParametersAsAnArgumentList) {
  const QString prog = recorder(QStringLiteral("update;$(touch marker)"), QStringLiteral("args.txt"));
  RecordingShell rec;
  const QString params = QStringLiteral("\"/u/nova verzija/korvan\" \"/p/korvan\" abc;$(touch marker2)");
  EXPECT_EQ(SHELLEXECUTE(0, QString(), prog, params, QString(), 1), SHELL_OK);
  EXPECT_EQ(SHELLEXECUTE(0, QStringLiteral("open"), QStringLiteral("sh"), QString(), dir.path(), 1), SHELL_OK);
  ASSERT_EQ(rec.calls.size(), 2);
  EXPECT_EQ(rec.calls[0].op, QStringLiteral("program"));
  EXPECT_EQ(rec.calls[0].target, prog);
  EXPECT_EQ(rec.calls[0].args, (QStringList{QStringLiteral("/u/nova verzija/korvan"), QStringLiteral("/p/korvan"),
                                            QStringLiteral("abc;$(touch"), QStringLiteral("marker2)")}));
  EXPECT_EQ(rec.calls[1].op, QStringLiteral("program"));  // a bare name from the PATH
  EXPECT_TRUE(rec.calls[1].target.endsWith(QStringLiteral("/sh")));
  EXPECT_TRUE(rec.calls[1].args.isEmpty());
  EXPECT_EQ(rec.calls[1].folder, dir.path());
}

// The real shell layer: the program and the desktop opener (a stand-in
// xdg-open on the PATH) receive hostile names as plain arguments.
TEST_F(ShellExec, RealRunsNothingHiddenInNames) {
  const QString prog = recorder(QStringLiteral("prog;$(touch marker)"), QStringLiteral("prog.txt"));
  EXPECT_EQ(SHELLEXECUTE(0, QString(), prog, QStringLiteral("\"$(touch marker)\" `touch marker2` \"a b\""),
                         QString(), 1),
            SHELL_OK);
  EXPECT_EQ(waitForLines(QStringLiteral("prog.txt")),
            (QStringList{QStringLiteral("$(touch marker)"), QStringLiteral("`touch"),
                         QStringLiteral("marker2`"), QStringLiteral("a b")}));

  QDir(dir.path()).mkdir(QStringLiteral("bin"));
  recorder(QStringLiteral("bin/xdg-open"), QStringLiteral("opened.txt"));
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", dir.filePath(QStringLiteral("bin")).toUtf8() + ':' + oldPath);
  const QString pdf = write(kHostile, "%PDF-1.4\n");
  const int rc = SHELLEXECUTE(0, QString(), pdf, QString(), QString(), 1);
  const QStringList opened = QStringList(waitForLines(QStringLiteral("bin/opened.txt")));
  qputenv("PATH", oldPath);
  EXPECT_EQ(rc, SHELL_OK);
  EXPECT_EQ(opened, QStringList{pdf});
  QTest::qWait(100);
  EXPECT_FALSE(markersLeft());
}

}  // namespace
}  // namespace korvan::test
