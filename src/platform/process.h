#pragma once
// Running external programs: a program and an argument list, never a shell,
// so no argument is ever read as a command. Optional time limit; on time-out
// the whole process group of the child (the child and everything it started)
// is ended. On the main thread the wait keeps the event loop running (windows
// repaint, timers fire) and drops user input until the program ends.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvan::platform {

inline constexpr int kNotStarted = -1;  // the program could not be started
inline constexpr int kTimedOut = -2;    // ended by the time limit
inline constexpr int kCrashed = -3;     // ended by a signal

struct ProcessRequest {
  QString program;             // a path, or a name looked up in PATH
  QStringList arguments;       // passed to the program as they are
  QString workingDirectory;    // empty: the current folder
  int timeoutMs = 0;           // 0 or less: wait without limit
  bool captureOutput = false;  // keep stdout and stderr (otherwise discarded)
};

struct ProcessResult {
  int exitCode = kNotStarted;  // the program's exit code, or one of the codes above
  bool started = false;
  bool timedOut = false;
  QByteArray standardOutput;
  QByteArray standardError;
};

// Runs programs; the real one starts processes, tests may install another.
class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  virtual ProcessResult run(const ProcessRequest& request) = 0;
};

// The runner in force (the real one unless a test installed another).
ProcessRunner& processRunner();
// Installs r (not owned); nullptr puts the real runner back.
void setProcessRunner(ProcessRunner* r);

// Runs the request through the runner in force and waits for its end.
ProcessResult runProcess(const ProcessRequest& request);

}  // namespace korvan::platform
