#pragma once
// Pages of a FoxPro compound index (.cdx): 512-byte nodes, either interior
// (full keys with big-endian record number and child offset) or compressed
// leaves (bit-packed record number, duplicate and trailing counts, key bytes
// packed from the end of the page). Numbers in the page head are little-endian.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace korvan::dbf {

constexpr int kPageSize = 512;
constexpr uint16_t kAttrIndex = 0, kAttrRoot = 1, kAttrLeaf = 2;
constexpr int64_t kNoPage = -1;

struct Page {
  int64_t offset = kNoPage;
  uint16_t attr = kAttrLeaf | kAttrRoot;
  int64_t left = kNoPage, right = kNoPage;
  int keyLen = 0;
  std::vector<uint8_t> keys;     // count() * keyLen bytes
  std::vector<uint32_t> recs;
  std::vector<uint32_t> childs;  // interior pages only

  bool leaf() const { return attr & kAttrLeaf; }
  bool root() const { return attr & kAttrRoot; }
  int count() const { return int(recs.size()); }
  const uint8_t* key(int i) const { return keys.data() + size_t(i) * keyLen; }
  void insertAt(int i, const uint8_t* k, uint32_t rec, uint32_t child = 0);
  void eraseAt(int i);
  // Moves entries [from, count) to the end of other.
  void moveTail(int from, Page& other);
};

// Compares (a, ra) with (b, rb): key bytes first, then record number.
inline int compareEntry(const uint8_t* a, uint32_t ra, const uint8_t* b, uint32_t rb, int keyLen) {
  const int c = std::memcmp(a, b, size_t(keyLen));
  if (c) return c;
  return ra < rb ? -1 : ra > rb ? 1 : 0;
}

// Decodes a page's bytes; false when they do not form a valid page.
bool decodePage(const uint8_t* b, int keyLen, Page& out);
// Bytes the leaf would take, or > 488 when it does not fit.
int leafBytes(const Page& p);
bool leafFits(const Page& p);
int interiorCapacity(int keyLen);
// Encodes into 512 bytes; false when the entries do not fit.
bool encodePage(const Page& p, uint8_t* out);

}  // namespace korvan::dbf
