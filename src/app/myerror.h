#pragma once
// The run-time error handler and the error log "_ERROR.TXT".
//
// Every error of the table engine reaches DEFERROR through the engine's hook;
// any other exception that leaves an event handler, main or a thread ends in
// the fatal path. Four kinds are settled silently (decideError); every other
// error is fatal: the report is written to "_ERROR.TXT" in the program folder
// and to stderr, then shown in a box (when the application exists and no
// other fatal error is being shown), then the exit step runs and the process
// ends with exit code 1.
#include "common/dbf/dbferror.h"

#include <QDateTime>
#include <QStringList>
#include <exception>
#include <functional>
#include <vector>

namespace korvan {

using dbf::ErrorInfo;

enum class ErrorDecision {
  Substitute,  // division by zero: the result is 0
  Retry,       // a lock that may be retried, up to kMaxRetries times
  QuietFail,   // sharing violation at open, failed append lock: network-error flag
  Fatal,
};
constexpr int kMaxRetries = 3;

// The decision table (pure).
ErrorDecision decideError(const ErrorInfo& e);
// The error line of the report without its operating-system part.
QString ERRORMESSAGE(const ErrorInfo& e);
// The report: CR LF, the error line, then one "Called from" line per level.
QString errorReport(const ErrorInfo& e, const QStringList& calledFrom);
// One record of the log: date and time line, 21 hyphens, the report, CR LF, CR LF.
QByteArray errorLogRecord(const QString& report, const QDateTime& when);
// Appends one record to "_ERROR.TXT" in the program folder (or in the folder
// set by setErrorLogFolder); false when the file could not be written.
bool PISI_ERRORLOG(const QString& report);
void setErrorLogFolder(const QString& folder);  // empty: the program folder
QString errorLogPath();

// A message box through the presenter (critical when critical is true).
void ERR_MESSAGEBOX(const QString& text, const QString& informative = {},
                    const QString& title = QStringLiteral("Information"), bool critical = false);

// The handler for one error: settles the silent cases (setting the network-
// error flag for QuietFail) and answers Throw for a fatal one, which then
// unwinds to a catch that calls fatalError.
dbf::ErrorAction DEFERROR(const ErrorInfo& e);

// The fatal path (never returns). frames: where the error was raised (empty:
// the current stack, without the handler's own levels).
[[noreturn]] void fatalError(const ErrorInfo& e, const std::vector<void*>& frames = {});
// The fatal path for an exception caught by the program's outer catches.
[[noreturn]] void fatalException(std::exception_ptr ex);
// The English title of the run-time error box.
QString fatalTitle();

// The exit step run by the fatal path before the process ends (QT_END).
void setExitStep(std::function<void()> step);

// Installs the handler: the engine's hook and the terminate handler. Called
// first thing at start-up (QT_START), before the application object exists.
void MY_ERRORSYS();

// Runs body (the main function's work) and sends an escaping exception down
// the fatal path.
int guardedMain(const std::function<int()>& body);

}  // namespace korvan
