#include "common/dbf/fileio.h"

#include "common/dbf/dbferror.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace korvan::dbf {

File::~File() { close(); }

bool File::open(const QString& path, bool writable, int* err) {
  close();
  const QByteArray p = QFile::encodeName(path);
  fd_ = ::open(p.constData(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd_ < 0) {
    if (err) *err = errno;
    return false;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (err) *err = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  writable_ = writable;
  path_ = path;
  knownSize_ = st.st_size;
  return true;
}

void File::close() {
  if (map_) ::munmap(map_, size_t(mapLen_));
  map_ = nullptr;
  mapLen_ = 0;
  if (fd_ >= 0) ::close(fd_);  // releases every lock of this open
  fd_ = -1;
}

bool File::remap(int64_t need) {
  int64_t len = std::max<int64_t>(int64_t(64) << 20, need * 2);
  len = (len + 0xFFFF) & ~int64_t(0xFFFF);
  void* m = ::mmap(nullptr, size_t(len), PROT_READ, MAP_SHARED, fd_, 0);
  if (m == MAP_FAILED) return false;
  if (map_) ::munmap(map_, size_t(mapLen_));
  map_ = static_cast<uint8_t*>(m);
  mapLen_ = len;
  return true;
}

const uint8_t* File::view(int64_t off, int64_t len) {
  if (off < 0 || len < 0) return nullptr;
  const int64_t end = off + len;
  if (end > knownSize_) {
    size();
    if (end > knownSize_) return nullptr;
  }
  if (end > mapLen_ && !remap(end)) return nullptr;
  return map_ + off;
}

int64_t File::size() {
  struct stat st {};
  if (fd_ >= 0 && ::fstat(fd_, &st) == 0) knownSize_ = st.st_size;
  return knownSize_;
}

bool File::sameFileAs(const QString& path) const {
  struct stat mine {}, named {};
  if (fd_ < 0 || ::fstat(fd_, &mine) != 0) return false;
  if (::stat(QFile::encodeName(path).constData(), &named) != 0) return false;
  return mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

void File::readAt(void* buf, int64_t len, int64_t off) {
  auto* b = static_cast<char*>(buf);
  while (len > 0) {
    const ssize_t n = ::pread(fd_, b, size_t(len), off);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      fail(EG_READ, SC_READ, "Greška pri čitanju", path_, "read", n < 0 ? osCodeFromErrno(errno) : 0);
    b += n;
    len -= n;
    off += n;
  }
}

void File::writeAt(const void* buf, int64_t len, int64_t off) {
  if (!writable_) fail(EG_READONLY, SC_READONLY, "Tabela je otvorena samo za čitanje", path_, "write");
  auto* b = static_cast<const char*>(buf);
  while (len > 0) {
    const ssize_t n = ::pwrite(fd_, b, size_t(len), off);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      fail(EG_WRITE, SC_WRITE, "Greška pri upisu", path_, "write", n < 0 ? osCodeFromErrno(errno) : 0);
    b += n;
    len -= n;
    off += n;
  }
  if (off > knownSize_) knownSize_ = off;
}

void File::sync() {
  if (fd_ >= 0 && writable_ && ::fdatasync(fd_) != 0)
    fail(EG_WRITE, SC_WRITE, "Greška pri upisu", path_, "commit", osCodeFromErrno(errno));
}

bool File::tryLock(int64_t off, bool exclusive) {
  struct flock fl {};
  fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = off;
  fl.l_len = 1;
  for (;;) {
    if (::fcntl(fd_, F_OFD_SETLK, &fl) == 0) return true;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EACCES) return false;
    fail(EG_LOCK, SC_LOCK, "Greška pri zaključavanju", path_, "lock", osCodeFromErrno(errno));
  }
}

bool File::waitLock(int64_t off, bool exclusive, int timeoutMs) {
  if (tryLock(off, exclusive)) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int pause = 20;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(pause));
    if (tryLock(off, exclusive)) return true;
    pause = std::min(pause * 2, 2000);
  }
  return false;
}

void File::unlock(int64_t off) {
  struct flock fl {};
  fl.l_type = F_UNLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = off;
  fl.l_len = 1;
  while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0 && errno == EINTR) {
  }
}

bool File::lockedByOther(int64_t off, bool exclusive) {
  struct flock fl {};
  fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = off;
  fl.l_len = 1;
  if (::fcntl(fd_, F_OFD_GETLK, &fl) != 0) return false;
  return fl.l_type != F_UNLCK;
}

void lockOrRaise(File& f, int64_t off, bool exclusive, int timeoutMs, const QString& operation) {
  for (int tries = 0;; ++tries) {
    if (f.waitLock(off, exclusive, timeoutMs)) return;
    ErrorInfo i;
    i.genCode = EG_LOCK;
    i.subsystem = kSubsystem;
    i.subCode = SC_LOCK;
    i.description = "Greška pri zaključavanju";
    i.fileName = f.path();
    i.operation = operation;
    i.canRetry = true;
    i.tries = tries;
    if (raiseError(i) != ErrorAction::Retry) throw DbfError(i);
  }
}

QString findIgnoringCase(const QString& path) {
  QFileInfo fi(path);
  if (fi.exists()) return path;
  QDir dir = fi.absoluteDir();
  const QString name = fi.fileName();
  const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& e : entries)
    if (e.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(e);
  return path;
}

bool existsIgnoringCase(const QString& path) { return QFileInfo::exists(findIgnoringCase(path)); }

}  // namespace korvan::dbf
