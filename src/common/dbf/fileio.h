#pragma once
// One open file of a table: reads through a shared read-only mapping (always
// the current bytes, as the kernel keeps it coherent with every writer),
// writes with pwrite, and byte-range locks owned by this open (OFD locks), so
// two opens conflict whether they are in one process or in two.
#include <QString>
#include <cstdint>

namespace korvan::dbf {

class File {
 public:
  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens an existing file; false with errno kept in *err.
  bool open(const QString& path, bool writable, int* err);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  bool writable() const { return writable_; }
  const QString& path() const { return path_; }
  int fd() const { return fd_; }

  // Pointer to the bytes [off, off+len) of the file, or nullptr when the file
  // is shorter. Valid until the next call that may remap.
  const uint8_t* view(int64_t off, int64_t len);
  int64_t size();  // current size (fstat)
  int64_t knownSize() const { return knownSize_; }  // as last seen, no system call
  // True when path names the file this open holds (not one renamed over it).
  bool sameFileAs(const QString& path) const;

  // Throwing reads and writes (an engine error names the file).
  void readAt(void* buf, int64_t len, int64_t off);
  void writeAt(const void* buf, int64_t len, int64_t off);
  void sync();

  // Byte-range locks far past the end of the data.
  bool tryLock(int64_t off, bool exclusive);
  // Polls for the lock until timeoutMs has passed.
  bool waitLock(int64_t off, bool exclusive, int timeoutMs);
  void unlock(int64_t off);
  // True when some other open holds a lock at off that conflicts with ours.
  bool lockedByOther(int64_t off, bool exclusive);

 private:
  bool remap(int64_t need);
  int fd_ = -1;
  bool writable_ = false;
  QString path_;
  uint8_t* map_ = nullptr;
  int64_t mapLen_ = 0;
  int64_t knownSize_ = 0;
};

// Lock offsets (on the .dbf file).
constexpr int64_t kLockBase = int64_t(1) << 50;
constexpr int64_t kLockPresence = kLockBase;
constexpr int64_t kLockAppend = kLockBase + 1;
constexpr int64_t kLockIndex = kLockBase + 2;
constexpr int64_t kLockMemo = kLockBase + 3;
inline int64_t recordLockOffset(uint32_t recno) { return kLockBase + 16 + recno; }

// Takes an engine-internal lock, waiting up to timeoutMs; when it cannot be
// had, raises a retryable lock error (the handler may retry; else throws).
void lockOrRaise(File& f, int64_t off, bool exclusive, int timeoutMs, const QString& operation);

// The existing file of that path, found ignoring letter case in its name; the
// path itself when none exists.
QString findIgnoringCase(const QString& path);
bool existsIgnoringCase(const QString& path);

}  // namespace korvan::dbf
