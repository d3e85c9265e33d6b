#pragma once
// The FoxPro memo file (.fpt): a 512-byte header (next free block and block
// size, both big-endian), then blocks; each memo starts a block with its type
// and length (big-endian) followed by the text.
#include "common/dbf/fileio.h"

#include <QByteArray>
#include <cstdint>

namespace korvan::dbf {

constexpr uint32_t kMemoBlockSize = 64;
// The longest memo text read or written; longer lengths are damage.
constexpr int64_t kMaxMemoBytes = int64_t(1) << 30;

// A new, empty memo file's bytes.
QByteArray newMemoFile(uint32_t blockSize = kMemoBlockSize);

// A memo field's stored bytes: 4 bytes little-endian (Visual FoxPro) or the
// block number as right-aligned decimal text (blank for no memo).
// The block number they hold; -1 when they hold no number.
int64_t memoRefBlock(const uint8_t* p, int width);
// The bytes of that width for a block number.
QByteArray memoRefBytes(uint32_t block, int width);

class MemoFile {
 public:
  // Opens path; throws DbfError when it is missing or unreadable.
  void open(const QString& path, bool writable);
  void close() { file_.close(); }
  bool isOpen() const { return file_.isOpen(); }
  File& file() { return file_; }

  // The text of the memo starting at block (0 = empty memo).
  QByteArray read(uint32_t block);
  // Writes text for a memo that started at oldBlock (0 = none): in place
  // when it fits in the old blocks, else at the end. Returns the block to
  // store in the record (0 for an empty text). The caller holds the memo lock.
  uint32_t write(uint32_t oldBlock, const QByteArray& text);
  uint32_t blockSize();

 private:
  File file_;
};

}  // namespace korvan::dbf
