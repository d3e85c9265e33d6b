// The workbook client against scripted helpers: time limits, process groups,
// errors passed through, values, the PDF check. No office suite needed.
#include "platform/workbook_office.h"
#include "workbook_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan::platform;
using namespace korvan::wbtest;

namespace {

// A helper in Python: prints its own pid and that of a child standing for the
// office, then answers as the mode says.
const char* kFake = R"(#!/usr/bin/python3
import json, os, shutil, subprocess, sys, time, urllib.parse
mode, pids = sys.argv[-2], sys.argv[-1]
office = subprocess.Popen(["sleep", "300"])
# What an office leaves when it is killed: a profile and a connection pipe.
root = sys.argv[sys.argv.index("--profile-root") + 1]
os.makedirs(os.path.join(root, "korvan-wb-fake", "user"))
open(os.path.join(root, "korvan-wb-fake", "user", "registrymodifications.xcu"), "w").close()
pipe = "/tmp/OSL_PIPE_%d_korvan_wb_%d_fake" % (os.getuid(), os.getpid())
open(pipe, "w").close()
with open(pids, "w") as f:
    f.write("%d %d %s" % (os.getpid(), office.pid, pipe))
def say(o):
    sys.stdout.write(json.dumps(o) + "\n")
    sys.stdout.flush()
if mode == "hang-start":
    time.sleep(300)
say({"ready": True, "profile": ""})
for line in sys.stdin:
    req = json.loads(line)
    op = req["op"]
    if op == "open":
        say({"ok": True, "nullDate": "1904-01-01" if mode == "mac" else "1899-12-30"})
    elif op == "cells":
        if mode == "hang-read":
            time.sleep(300)
        if mode == "slow-read":
            time.sleep(0.8)
        if mode == "die-read":
            os._exit(3)
        if mode == "flood-read":
            while True:
                sys.stdout.write("x" * 65536)
        cells = [[1, 3, 44895, "30.11.2022"], [1, 4, 44895.604166666664, "30.11.2022 14:30"],
                 [3, 2, 0, "Račun 15"], [0, 0, 0, ""], [1, 1, 0.2, "20%"],
                 [3, 4, 44895.99999999999, "30.11.2022 24:00"], [3, 5, 0, "#N/A"]]
        say({"ok": True, "cells": cells[:len(req["pos"])]})
    elif op == "usedRows":
        say({"ok": False, "lastError": "com.sun.star.uno.RuntimeException",
             "operation": "gotoEndOfUsedArea", "description": "the sheet is gone",
             "arguments": ["a b", "č"]})
    elif op == "pdf":
        path = urllib.parse.unquote(urllib.parse.urlparse(req["url"]).path)
        with open(path, "wb") as f:
            f.write(b"%PDF-1.4 made" if mode == "pdf-good" else b"<html>no</html>")
        say({"ok": True})
    elif op == "closeDoc":
        say({"ok": True})
    elif op == "close":
        say({"ok": True})
        break
# Ended in order, it tidies up as the real helper does.
os.remove(pipe)
shutil.rmtree(os.path.join(root, "korvan-wb-fake"))
)";

class FakeHelper : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    if (!QFileInfo("/usr/bin/python3").isExecutable()) GTEST_SKIP() << "/usr/bin/python3 is missing";
    ASSERT_TRUE(QDir().mkpath(profiles()));
    book_ = dir_.filePath("racun.xlsx");
    QFile b(book_);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write("stands for a workbook");
  }

  // A helper that runs the given mode; the client passes its own arguments first.
  OfficeBackend backend(const QString& mode, int limitMs = 1500) {
    const QString script = dir_.filePath("helper-" + mode);
    QFile f(script);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    // A wrapper so the mode and the pid file come last on the command line.
    f.write(QString("#!/bin/sh\nexec /usr/bin/python3 '%1' \"$@\" '%2' '%3'\n")
                .arg(dir_.filePath("fake.py"), mode, pidFile())
                .toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile py(dir_.filePath("fake.py"));
    EXPECT_TRUE(py.open(QIODevice::WriteOnly));
    py.write(kFake);
    py.close();
    OfficeOptions o;
    o.helperPath = script;
    o.profileRoot = profiles();
    o.startLimitMs = limitMs;
    o.requestLimitMs = limitMs;
    return OfficeBackend(o);
  }

  QString pidFile() const { return dir_.filePath("pids"); }
  QString profiles() const { return dir_.filePath("profiles"); }

  // The helper's and its child's pids, once the helper has written them.
  std::vector<qint64> pids() {
    for (int i = 0; i < 200; ++i) {
      QFile f(pidFile());
      if (f.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> parts = f.readAll().split(' ');
        if (parts.size() == 3) {
          pipe_ = QString::fromUtf8(parts[2]);
          return {parts[0].toLongLong(), parts[1].toLongLong()};
        }
      }
      QThread::msleep(20);
    }
    ADD_FAILURE() << "the fake helper did not start";
    return {};
  }

  // Both processes gone, and neither the profile nor the pipe left behind.
  void expectAllEnded() {
    for (qint64 pid : pids()) EXPECT_TRUE(waitUntilDead(pid)) << "process " << pid << " survived";
    EXPECT_TRUE(QDir(profiles()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty())
        << "a profile was left";
    EXPECT_FALSE(pipe_.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(pipe_)) << "the pipe was left";
  }

  QTemporaryDir dir_;
  QString book_;
  QString pipe_;
};

TEST_F(FakeHelper, HungHelperIsEndedWithItsGroup) {
  struct Case {
    const char* mode;
    const char* operation;
    const char* lastError;
  };
  for (const Case& c : {Case{"hang-start", "start", "time-out"},
                        Case{"hang-read", "getCellByPosition", "time-out"},
                        Case{"die-read", "getCellByPosition", "helper ended"},
                        Case{"flood-read", "getCellByPosition", "bad answer"}}) {
    SCOPED_TRACE(c.mode);
    QFile::remove(pidFile());
    OfficeBackend b = backend(c.mode);
    std::unique_ptr<Workbook> wb;
    try {
      wb = b.open(book_);
      wb->cell(1, 1);
      ADD_FAILURE() << "no error";
    } catch (const WorkbookError& e) {
      EXPECT_EQ(e.operation, c.operation);
      EXPECT_EQ(e.lastError, c.lastError);
      EXPECT_FALSE(e.description.isEmpty());
    }
    expectAllEnded();
    if (wb) {
      // Ended for good: later requests fail at once, close is harmless.
      EXPECT_THROW(wb->cell(0, 0), WorkbookError);
      wb->close();
      wb->close();
    }
  }
}

TEST_F(FakeHelper, AnAnswerIsAwaitedWithTheEventLoopRunning) {
  OfficeBackend b = backend("slow-read");
  std::unique_ptr<Workbook> wb = b.open(book_);
  bool timerRan = false;
  QTimer::singleShot(100, [&] { timerRan = true; });
  const Cell c = wb->cell(1, 1);
  EXPECT_TRUE(timerRan) << "the wait froze the event loop";
  EXPECT_EQ(c.shown, "30.11.2022");
  wb->close();
  expectAllEnded();
}

TEST_F(FakeHelper, CloseEndsHelperAndOffice) {
  OfficeBackend b = backend("plain");
  std::unique_ptr<Workbook> wb = b.open(book_);
  const std::vector<qint64> running = pids();
  ASSERT_EQ(running.size(), 2u);
  EXPECT_TRUE(alive(running[0]) && alive(running[1]));
  wb.reset();  // the destructor closes
  expectAllEnded();
}

// Held (by two windows here), the backend keeps the office of a closed
// workbook for the next open, and the last release ends it.
TEST_F(FakeHelper, AHeldBackendKeepsTheOfficeUntilTheLastRelease) {
  OfficeBackend b = backend("plain");
  b.holdEngine();
  b.holdEngine();
  std::unique_ptr<Workbook> wb = b.open(book_);
  const std::vector<qint64> first = pids();
  ASSERT_EQ(first.size(), 2u);
  wb->close();
  EXPECT_TRUE(alive(first[0]) && alive(first[1])) << "ended on close";
  wb = b.open(book_);
  EXPECT_EQ(wb->cell(0, 0).type, ValueType::Date);
  EXPECT_EQ(pids(), first) << "a new helper was started";
  wb->close();
  b.releaseEngine();
  EXPECT_TRUE(alive(first[0]) && alive(first[1])) << "ended while still held";
  b.releaseEngine();
  expectAllEnded();
  // Released, a close ends the helper again.
  wb = b.open(book_);
  wb->close();
  expectAllEnded();
}

TEST_F(FakeHelper, EndAllOnQuitEndsEveryHelper) {
  OfficeBackend b = backend("plain");
  std::unique_ptr<Workbook> wb = b.open(book_);
  endAllWorkbookHelpers();
  expectAllEnded();
  EXPECT_THROW(wb->usedRows(), WorkbookError);
}

TEST_F(FakeHelper, HelperErrorKeepsItsFourPartsAndTheWorkbookOpen) {
  OfficeBackend b = backend("plain");
  std::unique_ptr<Workbook> wb = b.open(book_);
  try {
    wb->usedRows();
    ADD_FAILURE() << "no error";
  } catch (const WorkbookError& e) {
    EXPECT_EQ(e.lastError, "com.sun.star.uno.RuntimeException");
    EXPECT_EQ(e.operation, "gotoEndOfUsedArea");
    EXPECT_EQ(e.description, "the sheet is gone");
    EXPECT_EQ(e.arguments, QStringList({"a b", QString::fromUtf8("č")}));
  }
  EXPECT_EQ(wb->cell(0, 0).type, ValueType::Date);  // still answering
}

TEST_F(FakeHelper, ValuesFollowTheTypeAndTheWorkbooksNullDate) {
  for (const char* mode : {"plain", "mac"}) {
    SCOPED_TRACE(mode);
    const QDate nullDate = QString(mode) == "mac" ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    OfficeBackend b = backend(mode);
    std::unique_ptr<Workbook> wb = b.open(book_);
    const std::vector<Cell> c = wb->cells({{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}});
    ASSERT_EQ(c.size(), 7u);
    EXPECT_EQ(c[0].kind, CellKind::Value);
    EXPECT_EQ(c[0].value, QVariant(nullDate.addDays(44895)));
    EXPECT_EQ(c[0].shown, "30.11.2022");
    EXPECT_EQ(c[1].value, QVariant(QDateTime(nullDate.addDays(44895), QTime(14, 30))));
    EXPECT_EQ(c[2].kind, CellKind::Formula);
    EXPECT_EQ(c[2].type, ValueType::Text);
    EXPECT_EQ(c[2].value, QVariant(QString::fromUtf8("Račun 15")));
    EXPECT_EQ(c[3].kind, CellKind::Empty);
    EXPECT_FALSE(c[3].value.isValid());
    EXPECT_EQ(c[4].value.typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(c[4].value.toDouble(), 0.2);
    // A time that rounds up to midnight is the next day, not 24:00.
    EXPECT_EQ(c[5].value, QVariant(QDateTime(nullDate.addDays(44896), QTime(0, 0))));
    EXPECT_EQ(c[6].type, ValueType::Error);  // an error result is its shown text
    EXPECT_EQ(c[6].value, QVariant("#N/A"));
    wb->close();
  }
  expectAllEnded();
}

TEST_F(FakeHelper, PdfIsCheckedBeforeItReplacesTheOldOne) {
  const QString pdf = dir_.filePath("racun.pdf");
  auto writeOld = [&] {
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("%PDF old");
  };
  auto contents = [&] {
    QFile f(pdf);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  auto leftovers = [&] {
    return QDir(dir_.path()).entryList({".korvan-pdf-*"}, QDir::Files | QDir::Hidden);
  };
  writeOld();
  {
    OfficeBackend b = backend("pdf-bad");
    std::unique_ptr<Workbook> wb = b.open(book_);
    try {
      wb->exportFirstSheetPdf(pdf);
      ADD_FAILURE() << "a file that is no PDF was taken";
    } catch (const WorkbookError& e) {
      EXPECT_EQ(e.operation, "storeToURL");
      EXPECT_TRUE(e.arguments.contains(pdf));
    }
    EXPECT_EQ(contents(), "%PDF old");
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(',').toStdString();
    // A folder that does not exist is refused and not made.
    EXPECT_THROW(wb->exportFirstSheetPdf(dir_.filePath("nema/racun.pdf")), WorkbookError);
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("nema")));
  }
  {
    OfficeBackend b = backend("pdf-good");
    std::unique_ptr<Workbook> wb = b.open(book_);
    QFile::remove(pdf);
    const mode_t mask = ::umask(022);
    wb->exportFirstSheetPdf(pdf);
    ::umask(mask);
    EXPECT_EQ(contents(), "%PDF-1.4 made");
    EXPECT_TRUE(leftovers().isEmpty());
    // Readable by others as any new file is, not private as a temporary file.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(pdf).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
  }
}

TEST_F(FakeHelper, MissingWorkbookOrHelperFailsWithoutStarting) {
  OfficeBackend b = backend("plain");
  try {
    b.open(dir_.filePath("nema.xlsx"));
    ADD_FAILURE() << "no error";
  } catch (const WorkbookError& e) {
    EXPECT_EQ(e.operation, "loadComponentFromURL");
    ASSERT_FALSE(e.arguments.isEmpty());
    EXPECT_TRUE(e.arguments[0].endsWith("/nema.xlsx"));
  }
  EXPECT_FALSE(QFileInfo::exists(pidFile()));  // nothing was started
  EXPECT_THROW(b.open(""), WorkbookError);
  EXPECT_THROW(b.open(dir_.path()), WorkbookError);  // a folder is no workbook

  OfficeOptions o;
  o.helperPath = dir_.filePath("no-such-helper");
  try {
    OfficeBackend(o).open(book_);
    ADD_FAILURE() << "no error";
  } catch (const WorkbookError& e) {
    EXPECT_EQ(e.operation, "start");
  }
}

TEST(WorkbookBackendChoice, InstalledBackendAndBack) {
  struct Fake : WorkbookBackend {
    std::unique_ptr<Workbook> open(const QString&) override { return nullptr; }
  } fake;
  setWorkbookBackend(&fake);
  EXPECT_EQ(&workbookBackend(), &fake);
  setWorkbookBackend(nullptr);
  EXPECT_NE(dynamic_cast<OfficeBackend*>(&workbookBackend()), nullptr);
}

}  // namespace
