#include "platform/savefile.h"

#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan::platform {
namespace {

bool writeAll(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, size_t(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

}  // namespace

bool saveFileAtomically(const QString& path, const QByteArray& bytes, int* errorCode, DiskSync sync) {
  int dummy = 0;
  int& err = errorCode ? *errorCode : dummy;
  err = 0;

  QString target = path;
  const QFileInfo info(path);
  if (info.isSymLink()) {
    const QString resolved = info.canonicalFilePath();
    if (!resolved.isEmpty()) target = resolved;
  }
  const QByteArray targetName = QFile::encodeName(target);
  const QFileInfo targetInfo(target);
  const QByteArray dir = QFile::encodeName(targetInfo.absolutePath());

  struct stat old {};
  const bool exists = ::stat(targetName.constData(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) {
    err = EISDIR;
    return false;
  }

  static std::atomic<unsigned> counter{0};
  QByteArray tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = dir + '/' + '.' + QFile::encodeName(targetInfo.fileName()) + '.' +
          QByteArray::number(qint64(::getpid())) + '.' + QByteArray::number(counter++) + ".tmp";
    fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    err = errno;
    return false;
  }

  bool ok = true;
  if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) ok = false;
  if (ok && !writeAll(fd, bytes)) ok = false;
  if (ok && sync == DiskSync::Sync && ::fsync(fd) != 0) ok = false;
  if (!ok) err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmp.constData(), targetName.constData()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmp.constData());
    return false;
  }
  if (sync == DiskSync::NoDiskSync) return true;
  // Make the rename itself durable.
  const int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace korvan::platform
