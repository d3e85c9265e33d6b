#include "common/apppath.h"

#include "common/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace korvan {
namespace {

QString& appPath() {
  static QString p;
  return p;
}

QString& exeName() {
  static QString n;
  return n;
}

QString withSlash(QString folder) {
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

QString folderOf(const QString& argv0) {
  if (argv0.contains(QLatin1Char('/'))) {
    const QString abs = QDir::cleanPath(QDir::current().absoluteFilePath(argv0));
    return abs.left(abs.lastIndexOf(QLatin1Char('/')) + 1);
  }
  if (!argv0.isEmpty()) {
    const QStringList dirs = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& d : dirs) {
      const QFileInfo fi(QDir(d).absoluteFilePath(argv0));
      if (fi.isFile() && fi.isExecutable()) return QDir::cleanPath(QDir(d).absolutePath());
    }
  }
  return QDir::currentPath();
}

}  // namespace

QString GETAPPPATH() {
  QString& p = appPath();
  if (p.isEmpty()) {
    const QStringList args = QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
    p = withSlash(args.isEmpty() ? QDir::currentPath() : folderOf(args.first()));
  }
  return p;
}

void SET_APPPATH(const QString& folder) {
  appPath() = withSlash(folder.isEmpty() ? QDir::currentPath() : folder);
}

void SET_APPPATH_FROM_ARGV0(const QString& argv0) {
  appPath() = withSlash(folderOf(argv0));
  exeName() = argv0.mid(argv0.lastIndexOf(QLatin1Char('/')) + 1);
}

QString GETEXENAME() {
  if (exeName().isEmpty() && QCoreApplication::instance())
    return QFileInfo(QCoreApplication::arguments().value(0)).fileName();
  return exeName();
}

void SET_EXENAME(const QString& name) { exeName() = name; }

QString FN_INI(const QString& name) { return GETAPPPATH() + name; }

bool ISTEST() { return QFileInfo::exists(FIND_FILE(FN_INI(QStringLiteral("TEST.!!!")))); }

bool ISBEZSPACE() { return QFileInfo::exists(FIND_FILE(FN_INI(QStringLiteral("BEZSPACE.!!!")))); }

QString G_USER() {
  for (const char* var : {"USERDOMAIN", "USERNAME", "USER", "LOGNAME"}) {
    QString v = qEnvironmentVariable(var).trimmed();
    if (v.isEmpty()) continue;
    v.replace(QLatin1Char('/'), QLatin1Char('_'));
    v.replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (v == QLatin1String(".") || v == QLatin1String("..")) v.replace(QLatin1Char('.'), QLatin1Char('_'));
    return v;
  }
  return QStringLiteral("KORISNIK");
}

}  // namespace korvan
