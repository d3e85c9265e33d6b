#include "common/dbf/cdxpage.h"

namespace korvan::dbf {
namespace {

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
void putLe16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
void putLe32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i)); }
void putBe32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i)); }

int bitsFor(uint32_t v) {
  int n = 0;
  while (n < 32 && (uint64_t(1) << n) <= v) ++n;
  return n;
}

struct Layout {
  int keyBits, recBits, bytes;
};

Layout layoutFor(const Page& p) {
  uint32_t maxRec = 1;
  for (uint32_t r : p.recs) maxRec = std::max(maxRec, r);
  Layout l;
  l.keyBits = bitsFor(uint32_t(p.keyLen));
  const int need = bitsFor(maxRec) + 2 * l.keyBits;
  l.bytes = std::max(3, (need + 7) / 8);
  l.recBits = std::min(32, l.bytes * 8 - 2 * l.keyBits);
  return l;
}

int trailingBlanks(const uint8_t* k, int len) {
  int t = 0;
  while (t < len && k[len - 1 - t] == ' ') ++t;
  return t;
}

// Walks a leaf's entries with their duplicate and trailing counts.
template <class F>
void forEachCount(const Page& p, F&& f) {
  const int kl = p.keyLen;
  int prevStored = 0;
  for (int i = 0; i < p.count(); ++i) {
    const uint8_t* k = p.key(i);
    int trail = trailingBlanks(k, kl);
    int dup = 0;
    if (i > 0) {
      const uint8_t* prev = k - kl;
      while (dup < prevStored && prev[dup] == k[dup]) ++dup;
    }
    prevStored = kl - trail;
    if (dup + trail > kl) trail = kl - dup;
    f(i, dup, trail);
  }
}

}  // namespace

void Page::insertAt(int i, const uint8_t* k, uint32_t rec, uint32_t child) {
  keys.insert(keys.begin() + std::ptrdiff_t(i) * keyLen, k, k + keyLen);
  recs.insert(recs.begin() + i, rec);
  if (!leaf()) childs.insert(childs.begin() + i, child);
}

void Page::eraseAt(int i) {
  keys.erase(keys.begin() + std::ptrdiff_t(i) * keyLen, keys.begin() + std::ptrdiff_t(i + 1) * keyLen);
  recs.erase(recs.begin() + i);
  if (!leaf()) childs.erase(childs.begin() + i);
}

void Page::moveTail(int from, Page& o) {
  o.keys.insert(o.keys.end(), keys.begin() + std::ptrdiff_t(from) * keyLen, keys.end());
  o.recs.insert(o.recs.end(), recs.begin() + from, recs.end());
  keys.resize(size_t(from) * keyLen);
  recs.resize(size_t(from));
  if (!leaf()) {
    o.childs.insert(o.childs.end(), childs.begin() + from, childs.end());
    childs.resize(size_t(from));
  }
}

bool decodePage(const uint8_t* b, int keyLen, Page& out) {
  if (keyLen < 1 || keyLen > 240) return false;
  out.attr = le16(b);
  if (out.attr > 3) return false;
  const int n = le16(b + 2);
  out.left = int32_t(le32(b + 4));
  out.right = int32_t(le32(b + 8));
  if (out.left != kNoPage) out.left = int64_t(le32(b + 4));
  if (out.right != kNoPage) out.right = int64_t(le32(b + 8));
  out.keyLen = keyLen;
  out.keys.resize(size_t(n) * keyLen);
  out.recs.resize(size_t(n));
  out.childs.clear();
  if (!out.leaf()) {
    if (n * (keyLen + 8) > 500) return false;
    out.childs.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
      const uint8_t* e = b + 12 + i * (keyLen + 8);
      std::memcpy(out.keys.data() + size_t(i) * keyLen, e, size_t(keyLen));
      out.recs[size_t(i)] = be32(e + keyLen);
      out.childs[size_t(i)] = be32(e + keyLen + 4);
    }
    return true;
  }
  const uint32_t recMask = le32(b + 14);
  const uint8_t dupMask = b[18], trailMask = b[19];
  const int recBits = b[20], dupBits = b[21], nb = b[23];
  if (nb < 1 || nb > 8 || recBits > 32 || recBits + dupBits >= 64 || 24 + n * nb > kPageSize) return false;
  int pos = kPageSize;
  const int floor = 24 + n * nb;
  for (int i = 0; i < n; ++i) {
    uint64_t v = 0;
    const uint8_t* e = b + 24 + i * nb;
    for (int j = 0; j < nb; ++j) v |= uint64_t(e[j]) << (8 * j);
    const uint32_t rec = uint32_t(v) & recMask;
    const int dup = int((v >> recBits) & dupMask);
    const int trail = int((v >> (recBits + dupBits)) & trailMask);
    if (dup + trail > keyLen || (i == 0 && dup > 0)) return false;
    const int len = keyLen - dup - trail;
    pos -= len;
    if (pos < floor) return false;
    uint8_t* k = out.keys.data() + size_t(i) * keyLen;
    if (dup) std::memcpy(k, k - keyLen, size_t(dup));
    std::memcpy(k + dup, b + pos, size_t(len));
    std::memset(k + dup + len, ' ', size_t(trail));
    out.recs[size_t(i)] = rec;
  }
  return true;
}

int leafBytes(const Page& p) {
  const Layout l = layoutFor(p);
  int total = 0;
  forEachCount(p, [&](int, int dup, int trail) { total += l.bytes + p.keyLen - dup - trail; });
  return total;
}

bool leafFits(const Page& p) { return leafBytes(p) <= kPageSize - 24; }

int interiorCapacity(int keyLen) { return 500 / (keyLen + 8); }

bool encodePage(const Page& p, uint8_t* b) {
  std::memset(b, 0, kPageSize);
  const int n = p.count();
  putLe16(b, p.attr);
  putLe16(b + 2, uint16_t(n));
  putLe32(b + 4, uint32_t(p.left));
  putLe32(b + 8, uint32_t(p.right));
  const int kl = p.keyLen;
  if (!p.leaf()) {
    if (n > interiorCapacity(kl)) return false;
    for (int i = 0; i < n; ++i) {
      uint8_t* e = b + 12 + i * (kl + 8);
      std::memcpy(e, p.key(i), size_t(kl));
      putBe32(e + kl, p.recs[size_t(i)]);
      putBe32(e + kl + 4, p.childs[size_t(i)]);
    }
    return true;
  }
  const Layout l = layoutFor(p);
  const uint32_t recMask = l.recBits >= 32 ? 0xFFFFFFFFu : ((uint32_t(1) << l.recBits) - 1);
  const uint8_t keyMask = uint8_t((1 << l.keyBits) - 1);
  int pos = kPageSize;
  bool fits = true;
  forEachCount(p, [&](int i, int dup, int trail) {
    const int len = kl - dup - trail;
    if (!fits || pos - len < 24 + (i + 1) * l.bytes) {
      fits = false;
      return;
    }
    pos -= len;
    std::memcpy(b + pos, p.key(i) + dup, size_t(len));
    const uint64_t v = uint64_t(p.recs[size_t(i)] & recMask) | uint64_t(dup) << l.recBits |
                       uint64_t(trail) << (l.recBits + l.keyBits);
    for (int j = 0; j < l.bytes; ++j) b[24 + i * l.bytes + j] = uint8_t(v >> (8 * j));
  });
  if (!fits || pos < 24 + n * l.bytes) return false;
  putLe16(b + 12, uint16_t(pos - 24 - n * l.bytes));
  putLe32(b + 14, recMask);
  b[18] = keyMask;
  b[19] = keyMask;
  b[20] = uint8_t(l.recBits);
  b[21] = uint8_t(l.keyBits);
  b[22] = uint8_t(l.keyBits);
  b[23] = uint8_t(l.bytes);
  return true;
}

}  // namespace korvan::dbf
