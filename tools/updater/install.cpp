#include "install.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "update/check.h"

namespace korvan::updater {
namespace {

QString text(const char* s) { return QString::fromUtf8(s); }

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// Whether another process runs the file (its /proc/<pid>/exe is that file).
bool running(const QString& path) {
  struct stat target {};
  if (::stat(native(path).constData(), &target) != 0) return false;
  const QString self = QString::number(::getpid());
  for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (pid == self || pid.toInt() <= 0) continue;
    struct stat exe {};
    if (::stat(native(QStringLiteral("/proc/") + pid + QStringLiteral("/exe")).constData(), &exe) == 0 &&
        exe.st_dev == target.st_dev && exe.st_ino == target.st_ino)
      return true;
  }
  return false;
}

QString checkNameOf(const QString& name) {
  QString base = name.toLower();
  if (base.endsWith(QStringLiteral(".exe"))) base.chop(4);
  return base + QStringLiteral(".sfv");
}

QString errnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

}  // namespace

QString install(const QString& newPath, const QString& runningPath) {
  QElapsedTimer waited;
  waited.start();
  while (running(runningPath) && waited.elapsed() < 10000) QThread::msleep(100);

  const QFileInfo fresh(newPath);
  if (!fresh.isFile()) return text("Nema nove verzije: ") + newPath;
  const QString sfvPath = fresh.absolutePath() + u'/' + checkNameOf(fresh.fileName());
  QFile sfv(sfvPath);
  if (!sfv.open(QIODevice::ReadOnly)) return text("Nema fajla za proveru CRC32: ") + sfvPath;
  const std::optional<QString> expected = SFV_CRC(sfv.readAll(), fresh.fileName().toLower());
  if (!expected) return text("Fajl za proveru CRC32 nema red za ") + fresh.fileName();
  if (CRC32_FAJLA(newPath) != *expected) return text("Provera CRC32 nove verzije: Greška!");

  struct stat old {};
  mode_t mode = 0755;
  if (::stat(native(runningPath).constData(), &old) == 0) mode = (old.st_mode & 07777) | 0111;
  if (::chmod(native(newPath).constData(), mode) != 0) return text("Ne mogu da postavim prava nove verzije: ") + errnoText();
  if (std::rename(native(newPath).constData(), native(runningPath).constData()) == 0) return QString();
  if (errno != EXDEV) return text("Ne mogu da zamenim program ") + runningPath + text(": ") + errnoText();

  // Another file system: a complete copy beside the old program first.
  const QFileInfo target(runningPath);
  const QString temp = target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                       QStringLiteral(".update-") + QString::number(::getpid());
  QFile::remove(temp);
  if (!QFile::copy(newPath, temp)) {
    QFile::remove(temp);
    return text("Ne mogu da kopiram novu verziju u ") + target.absolutePath();
  }
  if (::chmod(native(temp).constData(), mode) != 0 ||
      std::rename(native(temp).constData(), native(runningPath).constData()) != 0) {
    const QString why = errnoText();
    QFile::remove(temp);
    return text("Ne mogu da zamenim program ") + runningPath + text(": ") + why;
  }
  QFile::remove(newPath);
  return QString();
}

}  // namespace korvan::updater
