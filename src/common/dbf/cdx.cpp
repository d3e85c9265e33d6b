#include "common/dbf/cdx.h"

#include "common/dbf/dbferror.h"

#include <set>

#include <QMap>
#include <array>
#include <map>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace korvan::dbf {
namespace {

constexpr int kDirKeyLen = 10;
constexpr int kMaxDepth = 40;
constexpr int kMaxWalk = 1 << 22;
constexpr size_t kMaxTags = 4096;
constexpr uint8_t kOptCompact = 0x20, kOptCompound = 0x40, kOptFor = 0x08;

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
void putLe16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
void putLe32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i)); }

QByteArray headerBytes(int64_t root, int keyLen, uint8_t options, const QByteArray& expr, const QByteArray& forExpr) {
  QByteArray h(1024, '\0');
  auto* b = reinterpret_cast<uint8_t*>(h.data());
  putLe32(b, uint32_t(root));
  putLe16(b + 12, uint16_t(keyLen));
  b[14] = options;
  b[15] = 1;
  putLe16(b + 504, uint16_t(expr.size() + 1));
  putLe16(b + 506, uint16_t(forExpr.size() + 1));
  putLe16(b + 510, uint16_t(expr.size() + 1));
  std::memcpy(b + 512, expr.constData(), size_t(std::min<qsizetype>(expr.size(), 250)));
  std::memcpy(b + 512 + expr.size() + 1, forExpr.constData(), size_t(std::min<qsizetype>(forExpr.size(), 250)));
  return h;
}

QByteArray fit(const QByteArray& k, int len, char pad) {
  QByteArray r = k.left(len);
  if (r.size() < len) r.append(QByteArray(len - r.size(), pad));
  return r;
}

}  // namespace

QByteArray CdxFile::newFile() {
  QByteArray f = headerBytes(1024, kDirKeyLen, 0x80 | kOptCompound | kOptCompact, {}, {});
  Page root;
  root.keyLen = kDirKeyLen;
  QByteArray page(kPageSize, '\0');
  encodePage(root, reinterpret_cast<uint8_t*>(page.data()));
  return f + page;
}

void CdxFile::open(const QString& path, bool writable, File* locks, bool exclusive) {
  int err = 0;
  if (!file_.open(path, writable, &err))
    fail(EG_OPEN, SC_OPEN, "Ne može se otvoriti indeks", path, "open", osCodeFromErrno(err));
  locks_ = locks;
  exclusive_ = exclusive;
  invalidate();
  if (!file_.view(0, 1024 + kPageSize)) {
    file_.close();
    fail(EG_CORRUPTION, SC_CORRUPT, "Oštećen indeks (kratak fajl)", path, "open");
  }
}

void CdxFile::close() {
  file_.close();
  invalidate();
}

void CdxFile::corrupt(const QString& what) {
  if (!strict_) throw TornRead{};
  fail(EG_CORRUPTION, SC_CORRUPT, "Oštećen indeks (" + what + ")", file_.path(), "index");
}

void CdxFile::invalidate() {
  cache_.clear();
  headers_.clear();
  tagListValid_ = false;
  cacheVersion_ = 1;
  ++gen_;
}

uint32_t CdxFile::version() {
  const uint8_t* p = file_.view(8, 4);
  if (!p) corrupt("zaglavlje");
  const uint32_t raw = __atomic_load_n(reinterpret_cast<const uint32_t*>(p), __ATOMIC_ACQUIRE);
  return __builtin_bswap32(raw);
}

void CdxFile::putVersion(uint32_t v) {
  const uint32_t be = __builtin_bswap32(v);
  file_.writeAt(&be, 4, 8);
}

template <class F>
auto CdxFile::read(F&& f) -> decltype(f()) {
  if (inRead_) return f();
  struct InRead {
    bool& r;
    ~InRead() { r = false; }
  } inRead{inRead_};
  inRead_ = true;
  if (exclusive_ || writing_) {
    const bool was = strict_;
    strict_ = true;
    struct Reset {
      bool& s;
      bool v;
      ~Reset() { s = v; }
    } reset{strict_, was};
    return f();
  }
  for (int attempt = 0; attempt < 3; ++attempt) {
    const uint32_t v1 = version();
    if ((v1 & 1) && !restingOdd(v1)) {
      std::this_thread::sleep_for(std::chrono::microseconds(50 << attempt));
      continue;
    }
    if (v1 != cacheVersion_ || cache_.size() > 16384) {
      invalidate();
      cacheVersion_ = v1;
    }
    try {
      auto r = f();
      std::atomic_thread_fence(std::memory_order_acquire);
      if (version() == v1) return r;
    } catch (const TornRead&) {
    }
    invalidate();
  }
  // A writer is busy: read under the shared index lock.
  lockOrRaise(*locks_, kLockIndex, false, 5000, "index read");
  struct Unlock {
    File* f;
    bool& s;
    ~Unlock() {
      s = false;
      f->unlock(kLockIndex);
    }
  } unlock{locks_, strict_};
  invalidate();
  cacheVersion_ = version();
  strict_ = true;
  return f();
}

bool CdxFile::restingOdd(uint32_t v) {
  // Our writers keep the counter odd only while they hold the index lock; an
  // odd counter that nobody holds was left so by another program.
  if (v == restingOdd_) return true;
  if (!locks_ || locks_->lockedByOther(kLockIndex, false)) return false;
  restingOdd_ = v;
  return true;
}

const Page& CdxFile::page(int64_t off, int keyLen) {
  auto it = cache_.find(off);
  if (it != cache_.end() && it->second.keyLen == keyLen) return it->second;
  const uint8_t* b = (off > 0 && off % kPageSize == 0) ? file_.view(off, kPageSize) : nullptr;
  Page p;
  if (!b || !decodePage(b, keyLen, p)) corrupt("strana " + QString::number(off));
  p.offset = off;
  return cache_.insert_or_assign(off, std::move(p)).first->second;
}

bool CdxFile::tryWritePage(Page& p) {
  // Encoded now, written when the change ends (a page changed twice is written once).
  std::array<uint8_t, kPageSize>& buf = dirty_[p.offset];
  if (!encodePage(p, buf.data())) {
    dirty_.erase(p.offset);
    return false;
  }
  cache_.insert_or_assign(p.offset, p);
  return true;
}

void CdxFile::writePage(Page& p) {
  if (!tryWritePage(p)) corrupt("strana ne staje");
}

void CdxFile::writeDirty() {
  std::map<int64_t, std::array<uint8_t, kPageSize>> pages;
  pages.swap(dirty_);
  for (const auto& [off, buf] : pages) file_.writeAt(buf.data(), kPageSize, off);
}

int64_t CdxFile::allocPage(int n) {
  const int64_t off = nextAlloc_;
  nextAlloc_ += int64_t(n) * kPageSize;
  return off;
}

TagInfo CdxFile::readHeader(int64_t off) {
  auto it = headers_.find(off);
  if (it != headers_.end()) return it->second;
  const uint8_t* b = (off >= 0 && off % kPageSize == 0) ? file_.view(off, 1024) : nullptr;
  TagInfo t;
  bool ok = b != nullptr;
  if (ok) {
    t.header = off;
    t.root = le32(b);
    t.keyLen = le16(b + 12);
    t.options = b[14];
    t.descending = le16(b + 502) != 0;
    ok = t.keyLen >= 1 && t.keyLen <= 240 && t.root > 0 && t.root % kPageSize == 0;
    const char* pool = reinterpret_cast<const char*>(b + 512);
    const int el = int(strnlen(pool, 511));
    t.expr = QString::fromLatin1(pool, el);
    if (el + 1 < 512) t.forExpr = QString::fromLatin1(pool + el + 1, int(strnlen(pool + el + 1, size_t(511 - el))));
  }
  if (!ok) corrupt("zaglavlje oznake " + QString::number(off));
  headers_[off] = t;
  return t;
}

void CdxFile::writeHeader(const TagInfo& t) {
  writeDirty();  // the pages a header points to are on disk first
  const QByteArray h = headerBytes(t.root, t.keyLen, t.options, t.expr.toLatin1(), t.forExpr.toLatin1());
  file_.writeAt(h.constData(), h.size(), t.header);
  headers_[t.header] = t;
}

int64_t CdxFile::rootOf(int64_t tagHeader, int* keyLen) {
  const TagInfo t = readHeader(tagHeader);
  *keyLen = t.keyLen;
  return t.root;
}

void CdxFile::setRoot(int64_t tagHeader, int64_t root) {
  writeDirty();
  TagInfo t = readHeader(tagHeader);
  t.root = root;
  uint8_t b[4];
  putLe32(b, uint32_t(root));
  file_.writeAt(b, 4, tagHeader);
  headers_[tagHeader] = t;
}

QList<TagInfo> CdxFile::tags() {
  return read([&] {
    if (tagListValid_) return tagList_;
    QList<TagInfo> list;
    std::optional<KeyPos> p = first(0);
    std::set<int64_t> seen;
    for (; p; p = next(0, *p)) {
      // A tag listed twice, or more tags than a directory holds, is damage.
      if (!seen.insert(p->rec).second || seen.size() > kMaxTags) corrupt("spisak oznaka");
      TagInfo t = readHeader(p->rec);
      t.name = QString::fromLatin1(p->key).trimmed();
      while (t.name.endsWith(QChar(0))) t.name.chop(1);
      t.name = t.name.trimmed().toUpper();
      list << t;
    }
    std::sort(list.begin(), list.end(), [](const TagInfo& a, const TagInfo& b) { return a.header < b.header; });
    tagList_ = list;
    tagListValid_ = true;
    return list;
  });
}

std::optional<KeyPos> CdxFile::at(const Page& p, int i) {
  if (i < p.count()) {
    KeyPos k;
    k.key = QByteArray(reinterpret_cast<const char*>(p.key(i)), p.keyLen);
    k.rec = p.recs[size_t(i)];
    k.leaf = p.offset;
    k.idx = i;
    k.gen = gen_;
    return k;
  }
  return stepRight(p);
}

const Page& CdxFile::sibling(int64_t from, int64_t off, int keyLen, bool rightward) {
  // Leaves form a doubly linked chain: a step that lands on the page itself,
  // on an interior page, or on a page that does not link back is a loop or a break.
  if (off == from) corrupt("lanac listova");
  const Page& p = page(off, keyLen);
  if (!p.leaf() || (rightward ? p.left : p.right) != from) corrupt("lanac listova");
  return p;
}

std::optional<KeyPos> CdxFile::stepRight(const Page& leaf) {
  int64_t from = leaf.offset, off = leaf.right;
  const int keyLen = leaf.keyLen;
  for (int guard = 0; off != kNoPage; ++guard) {
    if (guard >= kMaxWalk) corrupt("lanac listova");
    const Page& p = sibling(from, off, keyLen, true);
    if (p.count() > 0) {
      // Entries only grow along the chain; a step back means the chain loops.
      if (leaf.count() > 0 && compareEntry(p.key(0), p.recs[0], leaf.key(leaf.count() - 1),
                                           leaf.recs[size_t(leaf.count() - 1)], keyLen) <= 0)
        corrupt("lanac listova");
      return at(p, 0);
    }
    from = off;
    off = p.right;
  }
  return std::nullopt;
}

std::optional<KeyPos> CdxFile::stepLeft(const Page& leaf) {
  int64_t from = leaf.offset, off = leaf.left;
  const int keyLen = leaf.keyLen;
  for (int guard = 0; off != kNoPage; ++guard) {
    if (guard >= kMaxWalk) corrupt("lanac listova");
    const Page& p = sibling(from, off, keyLen, false);
    if (p.count() > 0) {
      if (leaf.count() > 0 && compareEntry(p.key(p.count() - 1), p.recs[size_t(p.count() - 1)], leaf.key(0),
                                           leaf.recs[0], keyLen) >= 0)
        corrupt("lanac listova");
      return at(p, p.count() - 1);
    }
    from = off;
    off = p.left;
  }
  return std::nullopt;
}

std::optional<KeyPos> CdxFile::afterRaw(int64_t leafOff, int idx, int keyLen) {
  const Page& p = page(leafOff, keyLen);
  if (idx + 1 < p.count()) return at(p, idx + 1);
  return stepRight(p);
}

std::optional<KeyPos> CdxFile::beforeRaw(int64_t leafOff, int idx, int keyLen) {
  const Page& p = page(leafOff, keyLen);
  if (idx > 0 && idx - 1 < p.count()) return at(p, idx - 1);
  return stepLeft(p);
}

std::optional<KeyPos> CdxFile::seekIn(int64_t tagHeader, const uint8_t* key, uint32_t rec, std::vector<Step>* path) {
  int kl = 0;
  int64_t off = rootOf(tagHeader, &kl);
  for (int depth = 0; depth < kMaxDepth; ++depth) {
    const Page& p = page(off, kl);
    int lo = 0, hi = p.count();
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      if (compareEntry(p.key(mid), p.recs[size_t(mid)], key, rec, kl) < 0) lo = mid + 1;
      else hi = mid;
    }
    if (p.leaf()) {
      if (path) path->push_back({off, lo});
      KeyPos raw;
      raw.leaf = off;
      raw.idx = lo;
      raw.gen = gen_;
      raw.rec = 0;
      if (lo < p.count()) return at(p, lo);
      // Past the end of this leaf: the entry (if any) starts the next one;
      // the raw place stays in rec == 0 with an empty key for prev().
      std::optional<KeyPos> n = stepRight(p);
      if (n) return n;
      raw.key.clear();
      return raw;
    }
    if (p.count() == 0) corrupt("prazna unutrašnja strana");
    if (lo == p.count()) lo = p.count() - 1;
    if (path) path->push_back({off, lo});
    off = p.childs[size_t(lo)];
  }
  corrupt("predubok indeks");
}

std::optional<KeyPos> CdxFile::first(int64_t tagHeader) {
  return read([&]() -> std::optional<KeyPos> {
    int kl = 0;
    int64_t off = rootOf(tagHeader, &kl);
    for (int depth = 0; depth < kMaxDepth; ++depth) {
      const Page& p = page(off, kl);
      if (p.leaf()) return p.count() ? at(p, 0) : stepRight(p);
      if (p.count() == 0) return std::nullopt;
      off = p.childs[0];
    }
    corrupt("predubok indeks");
  });
}

std::optional<KeyPos> CdxFile::last(int64_t tagHeader) {
  return read([&]() -> std::optional<KeyPos> {
    int kl = 0;
    int64_t off = rootOf(tagHeader, &kl);
    for (int depth = 0; depth < kMaxDepth; ++depth) {
      const Page& p = page(off, kl);
      if (p.leaf()) return p.count() ? at(p, p.count() - 1) : stepLeft(p);
      if (p.count() == 0) return std::nullopt;
      off = p.childs[size_t(p.count() - 1)];
    }
    corrupt("predubok indeks");
  });
}

std::optional<KeyPos> CdxFile::lowerBound(int64_t tagHeader, const QByteArray& key, uint32_t rec) {
  return read([&]() -> std::optional<KeyPos> {
    int kl = 0;
    rootOf(tagHeader, &kl);
    const QByteArray k = fit(key, kl, '\0');
    std::optional<KeyPos> r = seekIn(tagHeader, reinterpret_cast<const uint8_t*>(k.constData()), rec, nullptr);
    if (r && r->key.isEmpty()) return std::nullopt;
    return r;
  });
}

std::optional<KeyPos> CdxFile::next(int64_t tagHeader, const KeyPos& pos) {
  return read([&]() -> std::optional<KeyPos> {
    int kl = 0;
    rootOf(tagHeader, &kl);
    if (pos.gen == gen_ && pos.leaf != kNoPage) {
      const Page& p = page(pos.leaf, kl);
      if (p.leaf() && pos.idx < p.count() && p.recs[size_t(pos.idx)] == pos.rec &&
          std::memcmp(p.key(pos.idx), pos.key.constData(), size_t(kl)) == 0)
        return afterRaw(pos.leaf, pos.idx, kl);
    }
    const QByteArray k = fit(pos.key, kl, ' ');
    std::optional<KeyPos> r = seekIn(tagHeader, reinterpret_cast<const uint8_t*>(k.constData()), pos.rec, nullptr);
    if (!r || r->key.isEmpty()) return std::nullopt;
    if (r->rec == pos.rec && r->key == k) return afterRaw(r->leaf, r->idx, kl);
    return r;
  });
}

std::optional<KeyPos> CdxFile::prev(int64_t tagHeader, const KeyPos& pos) {
  return read([&]() -> std::optional<KeyPos> {
    int kl = 0;
    rootOf(tagHeader, &kl);
    if (pos.gen == gen_ && pos.leaf != kNoPage) {
      const Page& p = page(pos.leaf, kl);
      if (p.leaf() && pos.idx < p.count() && p.recs[size_t(pos.idx)] == pos.rec &&
          std::memcmp(p.key(pos.idx), pos.key.constData(), size_t(kl)) == 0)
        return beforeRaw(pos.leaf, pos.idx, kl);
    }
    const QByteArray k = fit(pos.key, kl, ' ');
    std::optional<KeyPos> r = seekIn(tagHeader, reinterpret_cast<const uint8_t*>(k.constData()), pos.rec, nullptr);
    if (!r) return std::nullopt;
    if (r->key.isEmpty()) {  // nothing at or after the place: the last entry is before it
      const Page& p = page(r->leaf, kl);
      return p.count() ? at(p, p.count() - 1) : stepLeft(p);
    }
    return beforeRaw(r->leaf, r->idx, kl);
  });
}

QList<QPair<QByteArray, uint32_t>> CdxFile::entries(int64_t tagHeader) {
  return read([&] {
    QList<QPair<QByteArray, uint32_t>> out;
    std::optional<KeyPos> p = first(tagHeader);
    for (int guard = 0; p && guard < kMaxWalk; ++guard) {
      out.append({p->key, p->rec});
      int kl = 0;
      rootOf(tagHeader, &kl);
      p = afterRaw(p->leaf, p->idx, kl);
    }
    return out;
  });
}

void CdxFile::beginWrite() {
  if (!file_.writable()) fail(EG_READONLY, SC_READONLY, "Indeks je otvoren samo za čitanje", file_.path(), "index");
  bool unchanged = exclusive_;
  if (!exclusive_) {
    lockOrRaise(*locks_, kLockIndex, true, 5000, "index write");
    try {
      const uint32_t v = version();
      // Nobody wrote since our last look: what we hold is still the file.
      unchanged = v == cacheVersion_ && !(v & 1);
      writeVersion_ = (v & 1) ? v + 2 : v + 1;
      putVersion(writeVersion_);
    } catch (...) {
      locks_->unlock(kLockIndex);
      throw;
    }
    if (!unchanged) invalidate();
  }
  dirty_.clear();
  const int64_t size = unchanged ? std::max(file_.knownSize(), nextAlloc_) : file_.size();
  nextAlloc_ = (size + kPageSize - 1) / kPageSize * kPageSize;
  writing_ = true;
  strict_ = true;
}

void CdxFile::endWrite(bool completed) {
  try {
    writeDirty();
  } catch (...) {
    completed = false;
  }
  writing_ = false;
  strict_ = false;
  ++gen_;
  if (!completed) invalidate();
  if (exclusive_) return;
  try {
    putVersion(writeVersion_ + 1);
    if (completed) cacheVersion_ = writeVersion_ + 1;
  } catch (...) {
    invalidate();
  }
  locks_->unlock(kLockIndex);
}

void CdxFile::fixUpward(int64_t tagHeader, std::vector<Step>& path, int level) {
  // path[level] was just written; keep its parent's entry equal to its last key.
  int kl = 0;
  rootOf(tagHeader, &kl);
  while (level > 0) {
    const Page& child = page(path[size_t(level)].page, kl);
    if (child.count() == 0) return;
    Page parent = page(path[size_t(level - 1)].page, kl);
    const int pi = path[size_t(level - 1)].idx;
    if (pi >= parent.count() || int64_t(parent.childs[size_t(pi)]) != child.offset) corrupt("veza roditelja");
    const uint8_t* lk = child.key(child.count() - 1);
    const uint32_t lr = child.recs[size_t(child.count() - 1)];
    if (compareEntry(parent.key(pi), parent.recs[size_t(pi)], lk, lr, kl) == 0) return;
    std::memcpy(parent.keys.data() + size_t(pi) * kl, lk, size_t(kl));
    parent.recs[size_t(pi)] = lr;
    writePage(parent);
    if (pi != parent.count() - 1) return;
    --level;
  }
}

void CdxFile::splitUpward(int64_t tagHeader, std::vector<Step>& path, int level) {
  int kl = 0;
  rootOf(tagHeader, &kl);
  Page node = page(path[size_t(level)].page, kl);
  if ((node.leaf() || node.count() <= interiorCapacity(kl)) && tryWritePage(node)) {
    fixUpward(tagHeader, path, level);
    return;
  }
  // Split: the right half moves to a new page.
  int cut = node.count() / 2;
  if (node.leaf()) {
    auto fitsRange = [&](int a, int b) {
      Page t;
      t.attr = kAttrLeaf;
      t.keyLen = kl;
      t.keys.assign(node.keys.begin() + std::ptrdiff_t(a) * kl, node.keys.begin() + std::ptrdiff_t(b) * kl);
      t.recs.assign(node.recs.begin() + a, node.recs.begin() + b);
      return leafFits(t);
    };
    int tries = 0;
    while (!(fitsRange(0, cut) && fitsRange(cut, node.count())) && tries < node.count()) {
      cut = fitsRange(0, cut) ? cut + 1 : cut - 1;
      ++tries;
    }
  }
  Page right;
  right.keyLen = kl;
  right.attr = node.leaf() ? kAttrLeaf : kAttrIndex;
  const bool wasRoot = node.root();
  node.attr = uint16_t(node.attr & ~kAttrRoot);
  node.moveTail(cut, right);
  right.offset = allocPage();
  right.left = node.offset;
  right.right = node.right;
  if (node.right != kNoPage) {
    Page r2 = page(node.right, kl);
    r2.left = right.offset;
    writePage(r2);
  }
  node.right = right.offset;
  writePage(node);
  writePage(right);
  auto lastOf = [&](const Page& p) { return std::make_pair(p.key(p.count() - 1), p.recs[size_t(p.count() - 1)]); };
  if (wasRoot) {
    Page root;
    root.keyLen = kl;
    root.attr = kAttrRoot;
    root.offset = allocPage();
    auto [lk, lr] = lastOf(node);
    root.insertAt(0, lk, lr, uint32_t(node.offset));
    auto [rk, rr] = lastOf(right);
    root.insertAt(1, rk, rr, uint32_t(right.offset));
    writePage(root);
    setRoot(tagHeader, root.offset);
    return;
  }
  Page parent = page(path[size_t(level - 1)].page, kl);
  const int pi = path[size_t(level - 1)].idx;
  if (pi >= parent.count() || int64_t(parent.childs[size_t(pi)]) != node.offset) corrupt("veza roditelja");
  auto [lk, lr] = lastOf(node);
  std::memcpy(parent.keys.data() + size_t(pi) * kl, lk, size_t(kl));
  parent.recs[size_t(pi)] = lr;
  auto [rk, rr] = lastOf(right);
  parent.insertAt(pi + 1, rk, rr, uint32_t(right.offset));
  cache_.insert_or_assign(parent.offset, parent);
  splitUpward(tagHeader, path, level - 1);
}

void CdxFile::removePageUpward(int64_t tagHeader, std::vector<Step>& path, int level) {
  int kl = 0;
  rootOf(tagHeader, &kl);
  const Page node = page(path[size_t(level)].page, kl);
  if (node.left != kNoPage) {
    Page l = page(node.left, kl);
    l.right = node.right;
    writePage(l);
  }
  if (node.right != kNoPage) {
    Page r = page(node.right, kl);
    r.left = node.left;
    writePage(r);
  }
  Page parent = page(path[size_t(level - 1)].page, kl);
  const int pi = path[size_t(level - 1)].idx;
  if (pi >= parent.count() || int64_t(parent.childs[size_t(pi)]) != node.offset) corrupt("veza roditelja");
  parent.eraseAt(pi);
  if (parent.count() == 0) {
    if (parent.root()) {
      parent.attr = kAttrRoot | kAttrLeaf;
      parent.childs.clear();
      writePage(parent);
      return;
    }
    cache_.insert_or_assign(parent.offset, parent);
    removePageUpward(tagHeader, path, level - 1);
    return;
  }
  writePage(parent);
  if (pi == parent.count()) fixUpward(tagHeader, path, level - 1);
}

void CdxFile::insert(int64_t tagHeader, const QByteArray& key, uint32_t rec) {
  if (!writing_) corrupt("upis van transakcije");
  int kl = 0;
  rootOf(tagHeader, &kl);
  const QByteArray k = fit(key, kl, ' ');
  std::vector<Step> path;
  seekIn(tagHeader, reinterpret_cast<const uint8_t*>(k.constData()), rec, &path);
  Page leaf = page(path.back().page, kl);
  leaf.insertAt(path.back().idx, reinterpret_cast<const uint8_t*>(k.constData()), rec);
  cache_.insert_or_assign(leaf.offset, leaf);
  splitUpward(tagHeader, path, int(path.size()) - 1);
}

bool CdxFile::remove(int64_t tagHeader, const QByteArray& key, uint32_t rec) {
  if (!writing_) corrupt("upis van transakcije");
  int kl = 0;
  rootOf(tagHeader, &kl);
  const QByteArray k = fit(key, kl, ' ');
  std::vector<Step> path;
  seekIn(tagHeader, reinterpret_cast<const uint8_t*>(k.constData()), rec, &path);
  Page leaf = page(path.back().page, kl);
  const int i = path.back().idx;
  if (i >= leaf.count() || leaf.recs[size_t(i)] != rec || std::memcmp(leaf.key(i), k.constData(), size_t(kl)) != 0)
    return false;
  leaf.eraseAt(i);
  cache_.insert_or_assign(leaf.offset, leaf);
  const int level = int(path.size()) - 1;
  if (leaf.count() == 0 && !leaf.root()) {
    removePageUpward(tagHeader, path, level);
    return true;
  }
  writePage(leaf);
  if (i == leaf.count()) fixUpward(tagHeader, path, level);
  return true;
}

int64_t CdxFile::writeTree(int kl, const std::vector<uint8_t>& keys, const std::vector<uint32_t>& recs) {
  const int n = int(recs.size());
  // Leaves: as many entries as fit, with the entry width of the largest record number.
  uint32_t maxRec = 1;
  for (uint32_t r : recs) maxRec = std::max(maxRec, r);
  Page probe;
  probe.keyLen = kl;
  probe.recs = {maxRec};
  probe.keys.assign(size_t(kl), 'x');
  const int entryBytes = leafBytes(probe) - kl;
  std::vector<std::pair<int, int>> ranges;
  int start = 0;
  while (start < n || ranges.empty()) {
    int used = 0, i = start;
    while (i < n) {
      const uint8_t* k = keys.data() + size_t(i) * kl;
      int trail = 0;
      while (trail < kl && k[kl - 1 - trail] == ' ') ++trail;
      int dup = 0;
      if (i > start) {
        const uint8_t* pk = k - kl;
        int ptrail = 0;
        while (ptrail < kl && pk[kl - 1 - ptrail] == ' ') ++ptrail;
        while (dup < kl - ptrail && pk[dup] == k[dup]) ++dup;
      }
      if (dup + trail > kl) trail = kl - dup;
      const int cost = entryBytes + kl - dup - trail;
      if (used + cost > kPageSize - 24) break;
      used += cost;
      ++i;
    }
    if (i == start && n > 0) corrupt("ključ ne staje u stranu");
    ranges.push_back({start, i});
    start = i;
    if (n == 0) break;
  }
  struct Node {
    int64_t off;
    const uint8_t* lastKey;
    uint32_t lastRec;
  };
  std::vector<Node> level;
  const int64_t base = allocPage(int(ranges.size()));
  for (size_t j = 0; j < ranges.size(); ++j) {
    Page p;
    p.keyLen = kl;
    p.attr = ranges.size() == 1 ? (kAttrLeaf | kAttrRoot) : kAttrLeaf;
    p.offset = base + int64_t(j) * kPageSize;
    p.left = j == 0 ? kNoPage : p.offset - kPageSize;
    p.right = j + 1 == ranges.size() ? kNoPage : p.offset + kPageSize;
    const auto [a, b] = ranges[j];
    p.keys.assign(keys.begin() + std::ptrdiff_t(a) * kl, keys.begin() + std::ptrdiff_t(b) * kl);
    p.recs.assign(recs.begin() + a, recs.begin() + b);
    writePage(p);
    if (b > a) level.push_back({p.offset, keys.data() + size_t(b - 1) * kl, recs[size_t(b - 1)]});
    else level.push_back({p.offset, nullptr, 0});
  }
  if (level.size() == 1) return level[0].off;
  const int cap = interiorCapacity(kl);
  const QByteArray blank(kl, ' ');
  while (level.size() > 1) {
    const int pages = int((level.size() + size_t(cap) - 1) / size_t(cap));
    const int64_t lbase = allocPage(pages);
    std::vector<Node> up;
    for (int j = 0; j < pages; ++j) {
      Page p;
      p.keyLen = kl;
      p.attr = pages == 1 ? kAttrRoot : kAttrIndex;
      p.offset = lbase + int64_t(j) * kPageSize;
      p.left = j == 0 ? kNoPage : p.offset - kPageSize;
      p.right = j + 1 == pages ? kNoPage : p.offset + kPageSize;
      const size_t a = size_t(j) * size_t(cap), b = std::min(level.size(), a + size_t(cap));
      for (size_t c = a; c < b; ++c) {
        const uint8_t* k = level[c].lastKey ? level[c].lastKey : reinterpret_cast<const uint8_t*>(blank.constData());
        p.insertAt(p.count(), k, level[c].lastRec, uint32_t(level[c].off));
      }
      writePage(p);
      up.push_back({p.offset, level[b - 1].lastKey, level[b - 1].lastRec});
    }
    level = std::move(up);
  }
  return level[0].off;
}

void CdxFile::buildTag(const QString& name, const QString& expr, int keyLen, const std::vector<uint8_t>& keys,
                       const std::vector<uint32_t>& recs) {
  if (!writing_) corrupt("upis van transakcije");
  const QString up = name.trimmed().toUpper();
  if (up.isEmpty() || up.size() > kDirKeyLen)
    fail(EG_ARG, SC_ARG, "Pogrešno ime oznake '" + name + "'", file_.path(), "index");
  if (keyLen < 1 || keyLen > 240) fail(EG_LIMIT, SC_LIMIT, "Predugačak ključ " + expr, file_.path(), "index");
  const int64_t root = writeTree(keyLen, keys, recs);
  TagInfo t;
  t.name = up;
  t.root = root;
  t.keyLen = keyLen;
  t.options = kOptCompound | kOptCompact;
  t.expr = expr;
  tagListValid_ = false;
  for (const TagInfo& old : tags()) {
    if (old.name == up) {  // rebuilt in place: the tag keeps its number
      t.header = old.header;
      writeHeader(t);
      tagListValid_ = false;
      return;
    }
  }
  t.header = allocPage(2);
  writeHeader(t);
  insert(0, fit(up.toLatin1(), kDirKeyLen, ' '), uint32_t(t.header));
  tagListValid_ = false;
}

}  // namespace korvan::dbf
