// The run-time error handler: its decision table, the report and the log
// record byte for byte, and the fatal path in child processes.
#include "app/callstack.h"
#include "app/myapplication.h"
#include "app/myerror.h"
#include "common/apppath.h"
#include "common/dbf/fileio.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "common/presenter.h"
#include "support/scriptedpresenter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvan;
using korvan::dbf::ErrorInfo;

namespace {

ErrorInfo err(int gen, int os, bool sub, bool retry, bool def, int tries = 0) {
  ErrorInfo e;
  e.genCode = gen;
  e.osCode = os;
  e.canSubstitute = sub;
  e.canRetry = retry;
  e.canDefault = def;
  e.tries = tries;
  return e;
}

TEST(ErrorHandler, DecisionTable) {
  struct Case {
    ErrorInfo e;
    ErrorDecision d;
  };
  const Case cases[] = {
      {err(5, 0, true, false, false), ErrorDecision::Substitute},
      {err(5, 0, false, true, true), ErrorDecision::Fatal},  // may not substitute
      {err(41, 0, false, true, false), ErrorDecision::Retry},
      {err(41, 0, false, true, false, kMaxRetries - 1), ErrorDecision::Retry},
      {err(41, 0, false, true, false, kMaxRetries), ErrorDecision::Fatal},  // bounded
      {err(41, 0, false, false, true), ErrorDecision::Fatal},
      {err(21, 32, false, false, true), ErrorDecision::QuietFail},
      {err(21, 32, false, true, false), ErrorDecision::Fatal},
      {err(21, 2, false, false, true), ErrorDecision::Fatal},  // a missing file is no sharing violation
      {err(40, 0, false, false, true), ErrorDecision::QuietFail},
      {err(40, 0, false, true, false), ErrorDecision::Fatal},
      {err(32, 0, true, true, true), ErrorDecision::Fatal},
  };
  for (const Case& c : cases)
    EXPECT_EQ(decideError(c.e), c.d) << "gen " << c.e.genCode << " os " << c.e.osCode << " tries " << c.e.tries;
}

TEST(ErrorHandler, ErrorLineAndReport) {
  ErrorInfo e;
  EXPECT_EQ(ERRORMESSAGE(e), QString("Error %1/%1").arg("???"));
  e.severity = 1;
  EXPECT_EQ(ERRORMESSAGE(e), QString("Warning %1/%1").arg("???"));
  e.severity = 2;
  e.subsystem = "DBFCDX";
  e.subCode = 1001;
  e.description = "Greška pri otvaranju";
  e.operation = "open";
  EXPECT_EQ(ERRORMESSAGE(e), "Error DBFCDX/1001  Greška pri otvaranju: open");
  e.fileName = "/p/BAZE/INVOICE.dbf";  // the file name wins over the operation
  EXPECT_EQ(ERRORMESSAGE(e), "Error DBFCDX/1001  Greška pri otvaranju: /p/BAZE/INVOICE.dbf");
  EXPECT_EQ(errorReport(e, {"Called from A:b(12)", "Called from main(3)"}),
            "\r\nError DBFCDX/1001  Greška pri otvaranju: /p/BAZE/INVOICE.dbf\r\nCalled from A:b(12)\r\nCalled "
            "from main(3)");
  e.osCode = 5;
  EXPECT_EQ(errorReport(e, {}), "\r\nError DBFCDX/1001  Greška pri otvaranju: /p/BAZE/INVOICE.dbf (DOS Error 5)");
  EXPECT_EQ(ERRORMESSAGE(e), "Error DBFCDX/1001  Greška pri otvaranju: /p/BAZE/INVOICE.dbf");
}

TEST(ErrorHandler, LogRecordsAreAppended) {
  QTemporaryDir dir;
  const QDateTime when(QDate(2022, 12, 14), QTime(9, 5, 7));
  EXPECT_EQ(errorLogRecord("\r\nError X/1\r\nCalled from main(7)", when),
            QByteArray("14.12.2022 - 09:05:07\r\n---------------------\r\nError X/1\r\nCalled from main(7)\r\n\r\n"));
  setErrorLogFolder(dir.path());
  EXPECT_EQ(errorLogPath(), dir.path() + "/_ERROR.TXT");
  ASSERT_TRUE(PISI_ERRORLOG("\r\nError A/1"));
  ASSERT_TRUE(PISI_ERRORLOG("\r\nError B/2"));
  QFile f(errorLogPath());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(f.readAll());
  static const QRegularExpression rec(
      "^(\\d\\d\\.\\d\\d\\.\\d{4} - \\d\\d:\\d\\d:\\d\\d\\r\\n-{21}\\r\\nError [AB]/\\d\\r\\n\\r\\n){2}$");
  EXPECT_TRUE(rec.match(text).hasMatch()) << text.toStdString();
  EXPECT_LT(text.indexOf("Error A/1"), text.indexOf("Error B/2"));
  setErrorLogFolder(dir.path() + "/no/such/folder");
  EXPECT_FALSE(PISI_ERRORLOG("\r\nError C/3"));  // skipped, no message
  setErrorLogFolder({});
}

TEST(ErrorHandler, LevelNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"korvan::dbf::Table::put(int, QVariant const&)", "dbf::Table:put"},
      {"main", "main"},
      {"korvan::MSG(QString const&)", "MSG"},
      {"korvan::(anonymous namespace)::Foo::bar() const", "Foo:bar"},
      {"std::vector<int, std::allocator<int> >::push_back(int const&)", "std::vector<int, std::allocator<int> >:push_back"},
      {"", "???"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(levelName(in), out) << in;
}

// Some levels of the test itself, so that the stack has known names.
__attribute__((noinline)) QStringList innerLevel() { return calledFromLines(captureStack(), {"korvan::captureStack"}); }
__attribute__((noinline)) QStringList outerLevel() {
  QStringList l = innerLevel();
  asm volatile("");
  return l;
}

TEST(ErrorHandler, CallStackNamesTheLevelsWithLines) {
  const QStringList lines = outerLevel();
  ASSERT_GE(lines.size(), 3);
  static const QRegularExpression form("^Called from \\S.*\\((\\d+)\\)$");
  for (const QString& l : lines) EXPECT_TRUE(form.match(l).hasMatch()) << l.toStdString();
  EXPECT_TRUE(lines[0].startsWith("Called from innerLevel(")) << lines[0].toStdString();
  EXPECT_TRUE(lines[1].startsWith("Called from outerLevel(")) << lines[1].toStdString();
  EXPECT_NE(lines[0], "Called from innerLevel(0)");  // a real source line
  EXPECT_TRUE(lines.last().startsWith("Called from main(")) << lines.last().toStdString();
}

TEST(ErrorHandler, SharingViolationFailsTheOpenQuietly) {
  MY_ERRORSYS();
  QTemporaryDir dir;
  const QString t = dir.path() + "/t";
  dbf::Table::create(t, {{"A", 'C', 1, 0}});
  ScriptedPresenter boxes;
  auto holder = dbf::Table::open(t, true);  // a second open description conflicts like another process
  ASSERT_TRUE(holder);
  EXPECT_FALSE(dbf::Table::open(t, false));
  EXPECT_TRUE(dbf::netErr());
  EXPECT_TRUE(boxes.shown.isEmpty());
  holder.reset();
  EXPECT_TRUE(dbf::Table::open(t, false));
  EXPECT_FALSE(dbf::netErr());  // cleared by the next open
}

TEST(ErrorHandler, LockRetriesAreBounded) {
  MY_ERRORSYS();
  QTemporaryDir dir;
  const QString p = dir.path() + "/f";
  QFile(p).open(QIODevice::WriteOnly);
  dbf::File a, b;
  int e = 0;
  ASSERT_TRUE(a.open(p, true, &e));
  ASSERT_TRUE(b.open(p, true, &e));
  ASSERT_TRUE(a.tryLock(dbf::kLockIndex, true));
  int asked = 0;
  dbf::setErrorHandler([&](const ErrorInfo& i) {
    ++asked;
    return DEFERROR(i);
  });
  try {
    dbf::lockOrRaise(b, dbf::kLockIndex, true, 5, "index write");
    ADD_FAILURE() << "a lock held elsewhere was taken";
  } catch (const dbf::DbfError& x) {
    EXPECT_EQ(x.info().genCode, dbf::EG_LOCK);
  }
  EXPECT_EQ(asked, kMaxRetries + 1);
  dbf::setErrorHandler(&DEFERROR);
}

// ---------------------------------------------------------------- fatal path

QString envDir() { return qEnvironmentVariable("KORVAN_FATAL_DIR"); }

void prepareChild() {
  SET_APPPATH(envDir());
  MY_ERRORSYS();
  setExitStep([] {
    QFile f(envDir() + "/exit-step");
    f.open(QIODevice::WriteOnly);
  });
  auto* boxes = new ScriptedPresenter;  // lives until the process ends
  boxes->onShow = [](const Box& b) {
    QFile f(envDir() + "/box.txt");
    f.open(QIODevice::WriteOnly);
    f.write((b.title + "\n" + b.text).toUtf8());
    return 0;
  };
  // A table with a change still in its record buffer: the exit step writes it.
  const QString t = envDir() + "/store";
  if (!QFileInfo::exists(t + ".dbf")) dbf::Table::create(t, {{"A", 'C', 5, 0}});
  ASSERT_TRUE(dbf::useArea(t, "STORE", false));
  ASSERT_TRUE(dbf::current().appendBlank());
  dbf::current().put("A", QString("kept"));
}

__attribute__((noinline)) void failingOperation() { dbf::Table::open(envDir() + "/missing", false); }

TEST(FatalChild, DISABLED_Main) {
  if (envDir().isEmpty()) GTEST_SKIP();
  prepareChild();
  guardedMain([] {
    failingOperation();
    return 0;
  });
  ADD_FAILURE() << "the fatal path returned";
}

TEST(FatalChild, DISABLED_EventLoop) {
  if (envDir().isEmpty()) GTEST_SKIP();
  // The program's own application object in place of the test's plain one
  // (this process ends in the fatal path and never returns to the test main).
  static int argc = 1;
  static char name[] = "child";
  static char* argv[] = {name, nullptr};
  auto* old = qobject_cast<QApplication*>(QCoreApplication::instance());
  ASSERT_TRUE(old);
  old->~QApplication();
  auto* app = new (old) MyApplication(argc, argv);
  prepareChild();
  QTimer::singleShot(0, [] { throw std::runtime_error("kvar u obradi događaja"); });
  app->exec();
  ADD_FAILURE() << "the event loop returned";
}

TEST(FatalChild, DISABLED_Terminate) {
  if (envDir().isEmpty()) GTEST_SKIP();
  prepareChild();
  std::thread([] { throw std::logic_error("nit bez hvatanja"); }).join();
  ADD_FAILURE() << "terminate returned";
}

int runChild(const QString& test, const QString& dir, QByteArray* err) {
  int pipeFd[2];
  if (::pipe(pipeFd) != 0) return -1;
  const QByteArray exe = QCoreApplication::applicationFilePath().toLocal8Bit();
  const QByteArray filter = ("--gtest_filter=" + test).toLocal8Bit();
  const pid_t pid = fork();
  if (pid == 0) {
    ::dup2(pipeFd[1], 2);
    ::close(pipeFd[0]);
    setenv("KORVAN_FATAL_DIR", dir.toLocal8Bit().constData(), 1);
    execl(exe.constData(), exe.constData(), filter.constData(), "--gtest_also_run_disabled_tests", (char*)nullptr);
    _exit(127);
  }
  ::close(pipeFd[1]);
  char buf[4096];
  ssize_t n;
  while ((n = ::read(pipeFd[0], buf, sizeof buf)) > 0) err->append(buf, int(n));
  ::close(pipeFd[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(ErrorHandler, FatalErrorsEndTheProcessWithARecord) {
  QTemporaryDir dir;
  QByteArray err;
  EXPECT_EQ(runChild("FatalChild.DISABLED_Main", dir.path(), &err), 1);
  QFile log(dir.path() + "/_ERROR.TXT");
  ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << err.toStdString();
  const QString first = QString::fromUtf8(log.readAll());
  log.close();
  static const QRegularExpression rec(
      "^\\d\\d\\.\\d\\d\\.\\d{4} - \\d\\d:\\d\\d:\\d\\d\\r\\n-{21}\\r\\n"
      "Error DBFCDX/1001  Tabela ne postoji: [^\\r\\n]*/missing\\.dbf \\(DOS Error 2\\)\\r\\n"
      "(Called from [^\\r\\n]+\\(\\d+\\)\\r\\n)+\\r\\n$");
  EXPECT_TRUE(rec.match(first).hasMatch()) << first.toStdString();
  // The stack starts where the engine raised the error and runs out to main.
  const QStringList lines = first.split("\r\n");
  const int called = int(lines.indexOf(QRegularExpression("^Called from .*")));
  ASSERT_GT(called, 0);
  EXPECT_TRUE(lines[called].startsWith("Called from dbf::Table:open(")) << first.toStdString();
  EXPECT_TRUE(first.contains("Called from failingOperation(")) << first.toStdString();
  EXPECT_TRUE(lines[lines.size() - 3].startsWith("Called from main(")) << first.toStdString();
  EXPECT_FALSE(first.contains("fatalError")) << "the handler's own levels are left out";
  // The box showed the same report; stderr has it; the exit step ran and
  // wrote the pending record.
  QFile box(dir.path() + "/box.txt");
  ASSERT_TRUE(box.open(QIODevice::ReadOnly));
  const QString shown = QString::fromUtf8(box.readAll());
  EXPECT_EQ(shown, fatalTitle() + "\n" + first.mid(first.indexOf("\r\nError"), first.size() - first.indexOf("\r\nError") - 4));
  EXPECT_TRUE(err.contains("Error DBFCDX/1001  Tabela ne postoji")) << err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(dir.path() + "/exit-step"));
  {
    auto t = dbf::Table::open(dir.path() + "/store", false, true);
    ASSERT_TRUE(t);
    t->go(1);
    EXPECT_EQ(t->value("A").toString(), "kept ");
  }
  // A second fatal error (from an event handler) appends a second record.
  err.clear();
  QFile::remove(dir.path() + "/exit-step");
  EXPECT_EQ(runChild("FatalChild.DISABLED_EventLoop", dir.path(), &err), 1);
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  const QString both = QString::fromUtf8(log.readAll());
  EXPECT_TRUE(both.startsWith(first));
  const QString second = both.mid(first.size());
  EXPECT_TRUE(second.contains("\r\n---------------------\r\nError C++/???  kvar u obradi događaja\r\nCalled from "))
      << second.toStdString();
  // Caught where the event was dispatched: the stack runs from the event loop out to main.
  EXPECT_TRUE(second.contains("Called from QCoreApplication:exec(")) << second.toStdString();
  EXPECT_TRUE(second.contains("\r\nCalled from main(")) << second.toStdString();
  EXPECT_TRUE(second.endsWith(")\r\n\r\n"));
  EXPECT_TRUE(QFileInfo::exists(dir.path() + "/exit-step"));
  // At terminate (an exception that nothing catches): a third record.
  EXPECT_EQ(runChild("FatalChild.DISABLED_Terminate", dir.path(), &err), 1);
  log.close();
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  const QString all = QString::fromUtf8(log.readAll());
  EXPECT_TRUE(all.startsWith(both));
  EXPECT_TRUE(all.mid(both.size()).contains("Error C++/???  nit bez hvatanja\r\nCalled from ")) << all.toStdString();
}

}  // namespace
