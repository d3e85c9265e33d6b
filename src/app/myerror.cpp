#include "app/myerror.h"

#include "app/callstack.h"
#include "common/apppath.h"
#include "common/dbf/workarea.h"
#include "common/presenter.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace korvan {
namespace {

const char* const kCrLf = "\r\n";

QString& logFolder() {
  static QString f;
  return f;
}

std::function<void()>& exitStep() {
  static std::function<void()> s;
  return s;
}

bool g_inFatal = false;  // a fatal error is being handled
bool g_installed = false;

// Levels of the handler itself, left out of the report.
const QStringList kHandlerLevels = {"korvan::fatal",   "fatal",          "korvan::captureStack",
                                    "captureStack",    "korvan::DEFERROR", "DEFERROR",
                                    "korvan::dbf::DbfError", "dbf::DbfError", "korvan::dbf::fail",
                                    "dbf::fail",       "korvan::dbf::raiseError", "dbf::raiseError",
                                    "korvan::MyApplication::notify", "MyApplication:notify",
                                    "korvan::guardedMain", "guardedMain", "__cxa", "_Unwind",
                                    "std::terminate",  "__gnu_cxx",      "onTerminate"};

void writeAll(int fd, const QByteArray& b) {
  const char* p = b.constData();
  qsizetype left = b.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, size_t(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    p += n;
    left -= n;
  }
}

ErrorInfo infoOf(std::exception_ptr ex, std::vector<void*>* frames) {
  ErrorInfo i;
  i.severity = 2;
  try {
    if (ex) std::rethrow_exception(ex);
    i.description = QStringLiteral("Nepoznata greška");
  } catch (const dbf::DbfError& e) {
    *frames = e.frames();
    return e.info();
  } catch (const std::exception& e) {
    i.subsystem = QStringLiteral("C++");
    i.description = QString::fromUtf8(e.what());
  } catch (...) {
    i.subsystem = QStringLiteral("C++");
    i.description = QStringLiteral("Nepoznata greška");
  }
  return i;
}

void onTerminate() {
  fatalException(std::current_exception());
}

}  // namespace

ErrorDecision decideError(const ErrorInfo& e) {
  if (e.genCode == dbf::EG_ZERODIV && e.canSubstitute) return ErrorDecision::Substitute;
  if (e.genCode == dbf::EG_LOCK && e.canRetry && e.tries < kMaxRetries) return ErrorDecision::Retry;
  if (e.genCode == dbf::EG_OPEN && e.osCode == dbf::kSharingViolation && e.canDefault) return ErrorDecision::QuietFail;
  if (e.genCode == dbf::EG_APPENDLOCK && e.canDefault) return ErrorDecision::QuietFail;
  return ErrorDecision::Fatal;
}

QString ERRORMESSAGE(const ErrorInfo& e) {
  QString t = e.severity > 1 ? QStringLiteral("Error ") : QStringLiteral("Warning ");
  t += e.subsystem.isEmpty() ? QStringLiteral("???") : e.subsystem;
  t += e.subCode < 0 ? QStringLiteral("/???") : "/" + QString::number(e.subCode);
  if (!e.description.isEmpty()) t += "  " + e.description;
  if (!e.fileName.isEmpty()) t += ": " + e.fileName;
  else if (!e.operation.isEmpty()) t += ": " + e.operation;
  return t;
}

QString errorReport(const ErrorInfo& e, const QStringList& calledFrom) {
  QString r = kCrLf + ERRORMESSAGE(e);
  if (e.osCode != 0) r += " (DOS Error " + QString::number(e.osCode) + ")";
  for (const QString& l : calledFrom) r += kCrLf + l;
  return r;
}

QByteArray errorLogRecord(const QString& report, const QDateTime& when) {
  QByteArray b = when.toString(QStringLiteral("dd.MM.yyyy")).toUtf8() + " - " +
                 when.toString(QStringLiteral("hh:mm:ss")).toUtf8() + kCrLf;
  b += QByteArray(21, '-');
  b += report.toUtf8();
  b += kCrLf;
  b += kCrLf;
  return b;
}

void setErrorLogFolder(const QString& folder) { logFolder() = folder; }

QString errorLogPath() {
  QString f = logFolder().isEmpty() ? GETAPPPATH() : logFolder();
  if (!f.isEmpty() && !f.endsWith('/')) f += '/';
  return f + QStringLiteral("_ERROR.TXT");
}

bool PISI_ERRORLOG(const QString& report) {
  const QByteArray rec = errorLogRecord(report, QDateTime::currentDateTime());
  // Appended in one write, so records of processes logging at once do not mix.
  const int fd = ::open(QFile::encodeName(errorLogPath()).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const ssize_t n = ::write(fd, rec.constData(), size_t(rec.size()));
  ::close(fd);
  return n == rec.size();
}

void ERR_MESSAGEBOX(const QString& text, const QString& informative, const QString& title, bool critical) {
  Box b;
  b.kind = critical ? BoxKind::Error : BoxKind::Info;
  b.title = title;
  b.text = informative.isEmpty() ? text : text + "\n\n" + informative;
  presenter().show(b);
}

QString fatalTitle() { return QStringLiteral("Korvan: GUI run-time error"); }

dbf::ErrorAction DEFERROR(const ErrorInfo& e) {
  switch (decideError(e)) {
    case ErrorDecision::Substitute: return dbf::ErrorAction::Substitute;
    case ErrorDecision::Retry: return dbf::ErrorAction::Retry;
    case ErrorDecision::QuietFail:
      dbf::setNetErr(true);
      return dbf::ErrorAction::Default;
    case ErrorDecision::Fatal: break;
  }
  return dbf::ErrorAction::Throw;
}

void fatalError(const ErrorInfo& e, const std::vector<void*>& frames) {
  const bool nested = g_inFatal;
  g_inFatal = true;
  const QString report = errorReport(e, calledFromLines(frames.empty() ? captureStack() : frames, kHandlerLevels));
  // The record first, so that a killed or headless run keeps it.
  PISI_ERRORLOG(report);
  QByteArray err = "korvan: " + report.toUtf8();
  err.replace("\r\n", "\n");
  writeAll(2, err + "\n");
  if (!nested && QCoreApplication::instance()) ERR_MESSAGEBOX(report, {}, fatalTitle(), true);
  if (!nested && exitStep()) {
    try {
      exitStep()();
    } catch (...) {
    }
  }
  try {
    dbf::closeAllAreas();
  } catch (...) {
  }
  std::fflush(nullptr);
  std::_Exit(1);
}

void fatalException(std::exception_ptr ex) {
  std::vector<void*> frames;
  const ErrorInfo info = infoOf(ex, &frames);
  fatalError(info, frames);
}

void setExitStep(std::function<void()> step) { exitStep() = std::move(step); }

void MY_ERRORSYS() {
  if (g_installed) return;
  g_installed = true;
  dbf::setErrorHandler(&DEFERROR);
  std::set_terminate(&onTerminate);
}

int guardedMain(const std::function<int()>& body) {
  try {
    return body();
  } catch (...) {
    fatalException(std::current_exception());
  }
}

}  // namespace korvan
