#include "platform/process.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

#include "platform/inputblock.h"

namespace korvan::platform {
namespace {

// Waits for the end of p (timeoutMs <= 0: without limit). On the program's
// main thread the event loop keeps running, so windows repaint and timers
// fire, while user input is dropped; elsewhere a plain blocking wait.
bool waitForEnd(QProcess& p, int timeoutMs) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread()) return p.waitForFinished(timeoutMs > 0 ? timeoutMs : -1);
  if (p.state() == QProcess::NotRunning) return true;
  QEventLoop loop;
  QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  if (timeoutMs > 0) limit.start(timeoutMs);
  InputBlocker blocker;
  if (p.state() != QProcess::NotRunning) loop.exec();
  return p.state() == QProcess::NotRunning;
}

class RealProcessRunner : public ProcessRunner {
 public:
  ProcessResult run(const ProcessRequest& request) override {
    ProcessResult result;
    if (request.program.isEmpty()) return result;
    QProcess p;
    p.setProgram(request.program);
    p.setArguments(request.arguments);
    if (!request.workingDirectory.isEmpty()) p.setWorkingDirectory(request.workingDirectory);
    p.setStandardInputFile(QProcess::nullDevice());
    if (!request.captureOutput) {
      p.setStandardOutputFile(QProcess::nullDevice());
      p.setStandardErrorFile(QProcess::nullDevice());
    }
    // Its own session and process group, so that a time-out can end all of it.
    p.setChildProcessModifier([] { ::setsid(); });
    p.start(QIODevice::ReadOnly);
    if (!p.waitForStarted(-1)) return result;
    result.started = true;
    const pid_t group = static_cast<pid_t>(p.processId());
    const bool finished = waitForEnd(p, request.timeoutMs);
    if (!finished && p.state() != QProcess::NotRunning) {
      ::kill(-group, SIGKILL);
      p.waitForFinished(-1);
      result.timedOut = true;
    }
    if (request.captureOutput) {
      result.standardOutput = p.readAllStandardOutput();
      result.standardError = p.readAllStandardError();
    }
    if (result.timedOut) result.exitCode = kTimedOut;
    else if (p.exitStatus() == QProcess::CrashExit) result.exitCode = kCrashed;
    else result.exitCode = p.exitCode();
    return result;
  }
};

RealProcessRunner& realRunner() {
  static RealProcessRunner r;
  return r;
}

ProcessRunner* current = nullptr;

}  // namespace

ProcessRunner& processRunner() { return current ? *current : realRunner(); }
void setProcessRunner(ProcessRunner* r) { current = r; }
ProcessResult runProcess(const ProcessRequest& request) { return processRunner().run(request); }

}  // namespace korvan::platform
