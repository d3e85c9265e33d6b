#include "ui/shellexec.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "platform/shell.h"

namespace korvan {
namespace {

bool isProgram(const QFileInfo& fi) {
  if (!fi.isFile() || !fi.isExecutable()) return false;
  const QMimeType m = QMimeDatabase().mimeTypeForFile(fi, QMimeDatabase::MatchContent);
  for (const char* kind : {"application/x-executable", "application/x-pie-executable",
                           "application/x-sharedlib"})
    if (m.inherits(QString::fromLatin1(kind))) return true;
  return false;
}

}  // namespace

int SHELLEXECUTE(qintptr window, const QString& operation, const QString& file,
                 const QString& parameters, const QString& folder, int show) {
  Q_UNUSED(window)
  Q_UNUSED(show)
  const QString op = operation.trimmed().toLower();
  if (!op.isEmpty() && op != QLatin1String("open") && op != QLatin1String("explore"))
    return SHELL_NO_ASSOCIATION;
  if (file.isEmpty()) return SHELL_FILE_NOT_FOUND;
  if (!folder.isEmpty() && !QFileInfo(folder).isDir()) return SHELL_PATH_NOT_FOUND;

  QFileInfo fi(file);
  if (fi.isRelative() && !folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(file)))
    fi = QFileInfo(QDir(folder).filePath(file));
  QString program;
  if (fi.exists()) {
    if (isProgram(fi)) program = fi.absoluteFilePath();
  } else if (!file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\'))) {
    program = QStandardPaths::findExecutable(file);
    if (program.isEmpty()) return SHELL_FILE_NOT_FOUND;
  } else {
    return SHELL_FILE_NOT_FOUND;
  }
  if (op == QLatin1String("explore") && !fi.isDir()) return SHELL_NO_ASSOCIATION;

  bool ok = false;
  if (!program.isEmpty())
    ok = platform::shell().startProgram(program, QProcess::splitCommand(parameters), folder);
  else
    ok = platform::shell().openDocument(fi.absoluteFilePath());
  return ok ? SHELL_OK : SHELL_NO_ASSOCIATION;
}

}  // namespace korvan
