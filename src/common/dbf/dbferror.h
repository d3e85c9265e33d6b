#pragma once
// Errors of the table engine. Every failure is either a DbfError (thrown) or,
// for the two failures that callers retry (a sharing violation at open and a
// failed append lock), a quiet false with the network-error flag set. The
// choice is made by the run-time error handler that the application installs
// with setErrorHandler(); without one the engine settles those two itself.
#include <QString>
#include <functional>
#include <stdexcept>
#include <vector>

namespace korvan::dbf {

// Generic error classes (the numbers the error handler tests).
enum GenCode : int {
  EG_ARG = 1,
  EG_ZERODIV = 5,
  EG_NOALIAS = 15,
  EG_DUPALIAS = 18,
  EG_CREATE = 20,
  EG_OPEN = 21,
  EG_CLOSE = 22,
  EG_READ = 23,
  EG_WRITE = 24,
  EG_UNSUPPORTED = 30,
  EG_LIMIT = 31,
  EG_CORRUPTION = 32,
  EG_DATATYPE = 33,
  EG_DATAWIDTH = 34,
  EG_NOTABLE = 35,
  EG_NOORDER = 36,
  EG_SHARED = 37,
  EG_UNLOCKED = 38,
  EG_READONLY = 39,
  EG_APPENDLOCK = 40,
  EG_LOCK = 41,
};

// Operating-system code of a sharing violation.
constexpr int kSharingViolation = 32;

// One run-time error, with the items the error handler reads.
struct ErrorInfo {
  int genCode = 0;
  int osCode = 0;            // 0 when no system call failed
  QString subsystem;         // empty = absent
  int subCode = -1;          // < 0 = absent
  QString description;       // empty = absent
  QString fileName;
  QString operation;
  int severity = 2;          // > 1 error, <= 1 warning
  bool canSubstitute = false;
  bool canRetry = false;
  bool canDefault = false;
  int tries = 0;             // how often the operation was retried already
};

// What the handler tells the code that raised the error.
enum class ErrorAction {
  Default,     // fail quietly (the caller tests the network-error flag)
  Retry,       // repeat the failed operation
  Substitute,  // the handler supplies the result (0)
  Throw,       // not settled: throw DbfError
};

class DbfError : public std::runtime_error {
 public:
  explicit DbfError(ErrorInfo info);
  const ErrorInfo& info() const { return info_; }
  // Return addresses of the call stack where the error was raised.
  const std::vector<void*>& frames() const { return frames_; }

 private:
  ErrorInfo info_;
  std::vector<void*> frames_;
};

using ErrorHandler = std::function<ErrorAction(const ErrorInfo&)>;
// Installs the process-wide handler (an empty function removes it).
void setErrorHandler(ErrorHandler handler);
// Hands an error to the handler; without one, a sharing violation at open and
// a failed append lock set the network-error flag and answer Default, and
// everything else answers Throw.
ErrorAction raiseError(const ErrorInfo& info);

// The network-error flag: cleared by each open and append before it runs,
// set by the handler when that open or append failed for sharing or locking.
bool netErr();
void setNetErr(bool on);

// Engine subsystem name and subcodes (the "subsystem/subcode" of a report).
inline const char* kSubsystem = "DBFCDX";
enum SubCode : int {
  SC_OPEN = 1001,
  SC_CREATE = 1004,
  SC_READ = 1010,
  SC_WRITE = 1011,
  SC_CORRUPT = 1012,
  SC_DATATYPE = 1020,
  SC_DATAWIDTH = 1021,
  SC_UNLOCKED = 1022,
  SC_SHARED = 1023,
  SC_APPENDLOCK = 1024,
  SC_READONLY = 1025,
  SC_LOCK = 1038,
  SC_UNSUPPORTED = 1050,
  SC_NOORDER = 1051,
  SC_ALIAS = 1052,
  SC_ARG = 1053,
  SC_LIMIT = 1054,
};

// Builds and throws an engine error.
[[noreturn]] void fail(int genCode, int subCode, const QString& description,
                       const QString& fileName = {}, const QString& operation = {},
                       int osCode = 0);
// Maps an errno value to the operating-system code shown in reports.
int osCodeFromErrno(int err);

}  // namespace korvan::dbf
