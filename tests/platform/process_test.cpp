#include "platform/process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <csignal>

using namespace korvan::platform;

namespace {

ProcessResult run(const QString& program, const QStringList& args, int timeoutMs = 0,
                  const QString& cwd = QString()) {
  ProcessRequest r;
  r.program = program;
  r.arguments = args;
  r.timeoutMs = timeoutMs;
  r.workingDirectory = cwd;
  r.captureOutput = true;
  return runProcess(r);
}

// True while the process exists and is not a zombie.
bool alive(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  const QByteArray s = stat.readAll();
  const qsizetype close = s.lastIndexOf(')');
  return close > 0 && close + 2 < s.size() && s[close + 2] != 'Z';
}

TEST(Process, ExitCodesAndMissingProgram) {
  EXPECT_EQ(run("/bin/sh", {"-c", "exit 0"}).exitCode, 0);
  EXPECT_EQ(run("/bin/sh", {"-c", "exit 3"}).exitCode, 3);
  const ProcessResult missing = run("/nonexistent/program", {});
  EXPECT_EQ(missing.exitCode, kNotStarted);
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(run("", {}).exitCode, kNotStarted);
  EXPECT_EQ(run("no-such-program-korvan", {}).exitCode, kNotStarted);
  EXPECT_EQ(run("/bin/sh", {"-c", "kill -9 $$"}).exitCode, kCrashed);
}

TEST(Process, ArgumentsArriveIntactAndRunNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList evil = {"\"$(touch x)\"; rm -rf", "`touch y`", "a b\tc", "", "'", "*",
                            "ž\"\\", "--help"};
  const ProcessResult r = run("/usr/bin/printf", QStringList{"[%s]\\n"} + evil, 0, dir.path());
  ASSERT_EQ(r.exitCode, 0);
  QString expected;
  for (const QString& a : evil) expected += '[' + a + "]\n";
  EXPECT_EQ(QString::fromUtf8(r.standardOutput), expected);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(Process, OutputIsDiscardedUnlessCaptured) {
  ProcessRequest r;
  r.program = "/bin/sh";
  r.arguments = {"-c", "echo out; echo err >&2"};
  const ProcessResult quiet = runProcess(r);
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_TRUE(quiet.standardOutput.isEmpty());
  r.captureOutput = true;
  const ProcessResult loud = runProcess(r);
  EXPECT_EQ(loud.standardOutput, "out\n");
  EXPECT_EQ(loud.standardError, "err\n");
}

TEST(Process, TimeLimitEndsTheChildAndItsChildren) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pids = dir.filePath("pids");
  // The child starts two sleepers (one through another shell), notes every
  // pid and waits; only the time limit can end it.
  const QString script =
      "sleep 60 & echo $! > \"$1\"; sh -c 'echo $$ >> \"$1\"; exec sleep 60' sh \"$1\" & "
      "echo $$ >> \"$1\"; while [ $(wc -l < \"$1\") -lt 3 ]; do sleep 0.05; done; : > \"$1.ready\"; wait";
  const ProcessResult r = run("/bin/sh", {"-c", script, "sh", pids}, 3000);
  EXPECT_TRUE(r.started);
  EXPECT_TRUE(r.timedOut);
  EXPECT_EQ(r.exitCode, kTimedOut);
  ASSERT_TRUE(QFile::exists(pids + ".ready")) << "the script did not get going in time";
  QFile f(pids);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
  ASSERT_EQ(lines.size(), 3);
  for (const QByteArray& l : lines) {
    const qint64 pid = l.trimmed().toLongLong();
    ASSERT_GT(pid, 1);
    // The group was sent SIGKILL; a reparented sleeper may need a moment to be reaped.
    for (int i = 0; i < 100 && alive(pid); ++i) QThread::msleep(20);
    EXPECT_FALSE(alive(pid)) << "process " << pid << " outlived the time limit";
  }
}

TEST(Process, NoTimeLimitWaitsForTheEnd) {
  const ProcessResult r = run("/bin/sh", {"-c", "sleep 0.3; echo done"}, 0);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.standardOutput, "done\n");
}

// Counts the events it receives, by type.
struct EventCounter : QObject {
  QList<QEvent::Type> seen;
  bool event(QEvent* e) override {
    seen << e->type();
    return QObject::event(e);
  }
};

TEST(Process, WaitKeepsTimersAndRepaintsGoingAndDropsInput) {
  EventCounter target;
  bool timerFired = false;
  // During the wait: a timer fires, a repaint request, a key and a close arrive.
  QTimer::singleShot(100, [&] {
    timerFired = true;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::UpdateRequest));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::KeyPress));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::Close));
  });
  const ProcessResult r = run("/bin/sh", {"-c", "sleep 0.6; echo done"}, 10000);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.standardOutput, "done\n");
  EXPECT_TRUE(timerFired);
  EXPECT_EQ(target.seen, QList<QEvent::Type>{QEvent::UpdateRequest});
  // After the wait input is taken again.
  QCoreApplication::postEvent(&target, new QEvent(QEvent::KeyPress));
  QCoreApplication::processEvents();
  EXPECT_EQ(target.seen, (QList<QEvent::Type>{QEvent::UpdateRequest, QEvent::KeyPress}));
}

TEST(Process, TimeLimitHoldsWhileTheEventLoopRuns) {
  QTimer busy;
  busy.start(10);  // a timer that keeps the loop awake must not stretch the limit
  const ProcessResult r = run("/bin/sh", {"-c", "sleep 30"}, 500);
  EXPECT_TRUE(r.timedOut);
  EXPECT_EQ(r.exitCode, kTimedOut);
}

// A test runner: records requests and answers with a fixed exit code.
struct RecordingRunner : ProcessRunner {
  QList<ProcessRequest> requests;
  ProcessResult run(const ProcessRequest& r) override {
    requests << r;
    ProcessResult res;
    res.started = true;
    res.exitCode = 7;
    return res;
  }
};

TEST(Process, AnInstalledRunnerTakesOver) {
  RecordingRunner fake;
  setProcessRunner(&fake);
  const ProcessResult r = run("/bin/true", {"a"});
  setProcessRunner(nullptr);
  EXPECT_EQ(r.exitCode, 7);
  ASSERT_EQ(fake.requests.size(), 1);
  EXPECT_EQ(fake.requests[0].arguments, QStringList{"a"});
  EXPECT_EQ(run("/bin/true", {}).exitCode, 0);
}

}  // namespace
