#include "support/programfolder.h"

#include <QDir>

#include "common/apppath.h"

namespace korvan::test {

TempProgramFolder::TempProgramFolder(const QString& sub) : previous_(GETAPPPATH()) {
  const QString folder = sub.isEmpty() ? dir_.path() : dir_.filePath(sub);
  if (!sub.isEmpty()) QDir().mkpath(folder);
  SET_APPPATH(folder);
}

TempProgramFolder::~TempProgramFolder() { SET_APPPATH(previous_); }

}  // namespace korvan::test
