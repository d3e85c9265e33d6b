#include "common/dbf/dbferror.h"

#include <cerrno>
#include <execinfo.h>

namespace korvan::dbf {
namespace {

ErrorHandler& handlerSlot() {
  static ErrorHandler h;
  return h;
}

bool g_netErr = false;

std::string whatText(const ErrorInfo& i) {
  QString t = i.subsystem + "/" + QString::number(i.subCode);
  if (!i.description.isEmpty()) t += "  " + i.description;
  if (!i.fileName.isEmpty()) t += ": " + i.fileName;
  else if (!i.operation.isEmpty()) t += ": " + i.operation;
  return t.toStdString();
}

}  // namespace

DbfError::DbfError(ErrorInfo info) : std::runtime_error(whatText(info)), info_(std::move(info)) {
  void* buf[128];
  const int n = ::backtrace(buf, 128);
  frames_.assign(buf, buf + n);
}

void setErrorHandler(ErrorHandler handler) { handlerSlot() = std::move(handler); }

ErrorAction raiseError(const ErrorInfo& info) {
  if (handlerSlot()) return handlerSlot()(info);
  const bool quiet = (info.genCode == EG_OPEN && info.osCode == kSharingViolation && info.canDefault) ||
                     (info.genCode == EG_APPENDLOCK && info.canDefault);
  if (quiet) {
    g_netErr = true;
    return ErrorAction::Default;
  }
  return ErrorAction::Throw;
}

bool netErr() { return g_netErr; }
void setNetErr(bool on) { g_netErr = on; }

void fail(int genCode, int subCode, const QString& description, const QString& fileName,
          const QString& operation, int osCode) {
  ErrorInfo i;
  i.genCode = genCode;
  i.subCode = subCode;
  i.subsystem = kSubsystem;
  i.description = description;
  i.fileName = fileName;
  i.operation = operation;
  i.osCode = osCode;
  throw DbfError(std::move(i));
}

int osCodeFromErrno(int err) {
  switch (err) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EMFILE: case ENFILE: return 4;
    case EACCES: case EPERM: return 5;
    case EROFS: return 19;
    case EAGAIN: return kSharingViolation;
    case EEXIST: return 80;
    case ENOSPC: return 112;
    default: return err;
  }
}

}  // namespace korvan::dbf
