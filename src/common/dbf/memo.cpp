#include "common/dbf/memo.h"

#include "common/dbf/dbferror.h"

#include <QFile>
#include <algorithm>
#include <cerrno>

namespace korvan::dbf {
namespace {

uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
void putBe32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

}  // namespace

QByteArray newMemoFile(uint32_t blockSize) {
  QByteArray h(512, '\0');
  auto* b = reinterpret_cast<uint8_t*>(h.data());
  putBe32(b, (512 + blockSize - 1) / blockSize);
  b[6] = uint8_t(blockSize >> 8);
  b[7] = uint8_t(blockSize);
  return h;
}

int64_t memoRefBlock(const uint8_t* p, int width) {
  if (width == 4) return int64_t(p[0]) | int64_t(p[1]) << 8 | int64_t(p[2]) << 16 | int64_t(p[3]) << 24;
  const QByteArray t = QByteArray(reinterpret_cast<const char*>(p), width).trimmed();
  if (t.isEmpty()) return 0;
  bool ok = false;
  const uint32_t b = t.toUInt(&ok);
  return ok ? int64_t(b) : -1;
}

QByteArray memoRefBytes(uint32_t block, int width) {
  if (width == 4) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = char(block >> (8 * i));
    return b;
  }
  const QByteArray t = block ? QByteArray::number(block) : QByteArray();
  return QByteArray(std::max<int>(width - int(t.size()), 0), ' ') + t;
}

void MemoFile::open(const QString& path, bool writable) {
  int err = 0;
  if (!file_.open(path, writable, &err))
    fail(EG_OPEN, SC_OPEN, "Ne može se otvoriti memo fajl", path, "open", osCodeFromErrno(err));
  if (!file_.view(0, 8)) {
    file_.close();
    fail(EG_CORRUPTION, SC_CORRUPT, "Oštećen memo fajl (zaglavlje)", path, "open");
  }
}

uint32_t MemoFile::blockSize() {
  const uint8_t* h = file_.view(0, 8);
  if (!h) fail(EG_CORRUPTION, SC_CORRUPT, "Oštećen memo fajl (zaglavlje)", file_.path(), "memo");
  const uint32_t bs = uint32_t(h[6]) << 8 | h[7];
  if (bs == 0) fail(EG_CORRUPTION, SC_CORRUPT, "Oštećen memo fajl (veličina bloka 0)", file_.path(), "memo");
  return bs;
}

QByteArray MemoFile::read(uint32_t block) {
  if (block == 0) return {};
  const int64_t off = int64_t(block) * blockSize();
  const uint8_t* p = file_.view(off, 8);
  if (!p) fail(EG_CORRUPTION, SC_CORRUPT, "Memo blok " + QString::number(block) + " van fajla", file_.path(), "memo");
  const uint32_t len = be32(p + 4);
  // A length the file cannot hold past its block is damage, whatever it says.
  const uint8_t* d = len <= uint32_t(kMaxMemoBytes) ? file_.view(off + 8, len) : nullptr;
  if (!d) fail(EG_CORRUPTION, SC_CORRUPT, "Oštećen memo fajl (dužina memoa u bloku " + QString::number(block) + ")", file_.path(), "memo");
  return QByteArray(reinterpret_cast<const char*>(d), int(len));
}

uint32_t MemoFile::write(uint32_t oldBlock, const QByteArray& text) {
  if (text.isEmpty()) return 0;
  const uint32_t bs = blockSize();
  const auto need = [bs](int64_t bytes) { return uint32_t((bytes + 8 + bs - 1) / bs); };
  uint32_t block = 0;
  if (text.size() > kMaxMemoBytes)
    fail(EG_DATAWIDTH, SC_DATAWIDTH, "Memo je predugačak", file_.path(), "memo");
  // Checked before anything is written: a next-free block past the end of
  // the file is damage, and refused with the file left as it was.
  uint8_t head[512];
  file_.readAt(head, 8, 0);
  const uint32_t nextFree = be32(head);
  const int64_t endBlock = (file_.size() + bs - 1) / bs;
  if (int64_t(nextFree) > endBlock)
    fail(EG_CORRUPTION, SC_CORRUPT, "Oštećen memo fajl (prvi slobodan blok " + QString::number(nextFree) + " van fajla)", file_.path(), "memo");
  if (oldBlock != 0 && oldBlock < endBlock) {
    // In place only when the old memo's blocks really lie inside the file.
    const int64_t off = int64_t(oldBlock) * bs;
    const uint8_t* p = file_.view(off, 8);
    const uint32_t oldLen = p ? be32(p + 4) : 0;
    if (p && oldLen <= uint32_t(kMaxMemoBytes) && file_.view(off + 8, oldLen) && need(text.size()) <= need(oldLen))
      block = oldBlock;
  }
  if (block == 0) {
    // Never into the header nor below the file's end, whatever a damaged
    // header says: those blocks may belong to other memos.
    const uint32_t firstData = (512 + bs - 1) / bs;
    block = std::max({nextFree, firstData, uint32_t(endBlock)});
  }
  QByteArray buf(int(need(text.size()) * bs), '\0');
  auto* b = reinterpret_cast<uint8_t*>(buf.data());
  putBe32(b, 1);  // text memo
  putBe32(b + 4, uint32_t(text.size()));
  memcpy(b + 8, text.constData(), size_t(text.size()));
  if (block == oldBlock) {
    file_.writeAt(buf.constData(), 8 + text.size(), int64_t(block) * bs);
  } else {
    file_.writeAt(buf.constData(), buf.size(), int64_t(block) * bs);
    const uint32_t after = block + need(text.size());
    if (after > nextFree) {
      putBe32(head, after);
      file_.writeAt(head, 4, 0);
    }
  }
  return block;
}

}  // namespace korvan::dbf
