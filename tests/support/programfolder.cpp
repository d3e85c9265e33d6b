#include "support/programfolder.h"

#include <QDir>
#include <QFile>

#include "common/apppath.h"

namespace korvan::test {

TempProgramFolder::TempProgramFolder(const QString& sub) : previous_(GETAPPPATH()) {
  const QString folder = sub.isEmpty() ? dir_.path() : dir_.filePath(sub);
  if (!sub.isEmpty()) QDir().mkpath(folder);
  SET_APPPATH(folder);
}

TempProgramFolder::~TempProgramFolder() { SET_APPPATH(previous_); }

bool TempProgramFolder::write(const QString& name, const QByteArray& bytes) const {
  QFile f(filePath(name));
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray TempProgramFolder::read(const QString& name) const {
  QFile f(filePath(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

}  // namespace korvan::test
