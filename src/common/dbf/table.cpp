#include "common/dbf/table.h"

#include "common/dbf/dbferror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <numeric>
#include <unistd.h>

namespace korvan::dbf {
namespace {

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

QString stripExt(const QString& path) {
  if (path.endsWith(".dbf", Qt::CaseInsensitive)) return path.left(path.size() - 4);
  return path;
}

// Writes bytes to a new file beside target and returns its path.
QString writeTemp(const QString& target, const QByteArray& bytes) {
  QTemporaryFile t(target + ".XXXXXX");
  t.setAutoRemove(false);
  if (!t.open()) fail(EG_CREATE, SC_CREATE, "Ne može se napraviti fajl", target, "create", osCodeFromErrno(errno));
  if (t.write(bytes) != bytes.size() || !t.flush() || ::fsync(t.handle()) != 0) {
    const int e = errno;
    t.remove();
    fail(EG_CREATE, SC_CREATE, "Ne može se napraviti fajl", target, "create", osCodeFromErrno(e));
  }
  t.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                   QFileDevice::WriteGroup | QFileDevice::ReadOther);
  return t.fileName();
}

void removeIfThere(const QString& path) {
  const QString p = findIgnoringCase(path);
  if (QFileInfo::exists(p) && !QFile::remove(p))
    fail(EG_CREATE, SC_CREATE, "Ne može se obrisati stari fajl", p, "create", 5);
}

}  // namespace

// ---------------------------------------------------------------- create/open

void Table::create(const QString& path, const Structure& structure, bool replace) {
  const QString base = stripExt(path);
  // "TEMP.DBF" makes "TEMP.DBF" and "TEMP.FPT"; any other spelling the lower-case names.
  const bool upper = path.endsWith(".DBF");
  const Structure s = normalizeStructure(structure, base + ".dbf");
  const QString dbfPath = findIgnoringCase(base + (upper ? ".DBF" : ".dbf"));
  const bool exists = QFileInfo::exists(dbfPath);
  if (exists && !replace) fail(EG_CREATE, SC_CREATE, "Tabela već postoji", dbfPath, "create", 80);
  File guard;  // while replacing, nobody may have the old table open
  if (exists) {
    int err = 0;
    if (!guard.open(dbfPath, true, &err))
      fail(EG_CREATE, SC_CREATE, "Ne može se zameniti tabela", dbfPath, "create", osCodeFromErrno(err));
    if (!guard.tryLock(kLockPresence, true))
      fail(EG_CREATE, SC_CREATE, "Tabela je otvorena", dbfPath, "create", kSharingViolation);
  }
  bool memo = false;
  for (const FieldDef& f : s) memo = memo || f.type == 'M';
  QByteArray bytes = buildHeader(s, memo ? kVersionFoxMemo : kVersionDbase3, 0);
  bytes.append(char(0x1A));
  // A leftover index or memo file of that name would belong to another table.
  removeIfThere(base + ".cdx");
  if (!memo) removeIfThere(base + ".fpt");
  const QString tmpDbf = writeTemp(dbfPath, bytes);
  if (memo) {
    const QString fptPath = findIgnoringCase(base + (upper ? ".FPT" : ".fpt"));
    const QString tmpFpt = writeTemp(fptPath, newMemoFile());
    if (::rename(QFile::encodeName(tmpFpt).constData(), QFile::encodeName(fptPath).constData()) != 0) {
      const int e = errno;
      QFile::remove(tmpFpt);
      QFile::remove(tmpDbf);
      fail(EG_CREATE, SC_CREATE, "Ne može se napraviti memo fajl", fptPath, "create", osCodeFromErrno(e));
    }
  }
  const QByteArray from = QFile::encodeName(tmpDbf), to = QFile::encodeName(dbfPath);
  const int rc = exists ? ::rename(from.constData(), to.constData()) : ::link(from.constData(), to.constData());
  const int e = errno;
  if (!exists) ::unlink(from.constData());
  if (rc != 0) {
    if (exists) ::unlink(from.constData());
    fail(EG_CREATE, SC_CREATE, e == EEXIST ? "Tabela već postoji" : "Ne može se napraviti tabela", dbfPath,
         "create", osCodeFromErrno(e));
  }
}

std::unique_ptr<Table> Table::open(const QString& path, bool exclusive, bool readOnly) {
  setNetErr(false);
  std::unique_ptr<Table> t(new Table);
  t->base_ = stripExt(path);
  t->exclusive_ = exclusive;
  t->readOnly_ = readOnly;
  // Locks need a descriptor open for writing; a read-only open that only
  // shares the table can do with reading.
  const bool rw = !readOnly || exclusive;
  QString dbfPath;
  // A table replaced (renamed over) while this open waited for its lock is
  // opened again: the lock must be held on the file the name now leads to.
  for (int reopen = 0;; ++reopen) {
    dbfPath = findIgnoringCase(t->base_ + ".dbf");
    int err = 0;
    if (!t->dbf_.open(dbfPath, rw, &err))
      fail(EG_OPEN, SC_OPEN, err == ENOENT ? "Tabela ne postoji" : "Greška pri otvaranju tabele", dbfPath, "open",
           osCodeFromErrno(err));
    if (!t->lockPresence(exclusive)) return nullptr;
    if (t->dbf_.sameFileAs(dbfPath)) break;
    t->dbf_.close();
    if (reopen >= 100) fail(EG_OPEN, SC_OPEN, "Tabela se stalno zamenjuje", dbfPath, "open", kSharingViolation);
  }
  const uint8_t* h = t->dbf_.view(0, 32);
  if (!h) fail(EG_CORRUPTION, SC_CORRUPT, "Oštećena tabela (kratko zaglavlje)", dbfPath, "open");
  const uint16_t hl = headerLength(h, 32, dbfPath);
  const uint8_t* full = t->dbf_.view(0, hl);
  if (!full) fail(EG_CORRUPTION, SC_CORRUPT, "Oštećena tabela (zaglavlje)", dbfPath, "open");
  t->hdr_ = parseHeader(full, hl, dbfPath);
  for (int i = 0; i < t->hdr_.fields.size(); ++i) t->byName_.insert(t->hdr_.fields[i].def.name, i + 1);
  if (t->hdr_.hasMemo()) {
    const QString fpt = findIgnoringCase(t->base_ + ".fpt");
    if (!QFileInfo::exists(fpt))
      fail(EG_OPEN, SC_OPEN, "Nedostaje memo fajl", t->base_ + ".fpt", "open", 2);
    t->memo_.open(fpt, rw);
  }
  const QString cdx = findIgnoringCase(t->base_ + ".cdx");
  if (QFileInfo::exists(cdx)) {
    t->cdx_.open(cdx, rw, &t->dbf_, exclusive);
    t->loadTags();
  }
  t->top();
  return t;
}

bool Table::lockPresence(bool exclusive) {
  for (int tries = 0;; ++tries) {
    if (dbf_.tryLock(kLockPresence, exclusive)) return true;
    ErrorInfo i;
    i.genCode = EG_OPEN;
    i.osCode = kSharingViolation;
    i.subsystem = kSubsystem;
    i.subCode = SC_OPEN;
    i.description = "Tabela je zauzeta";
    i.fileName = dbf_.path();
    i.operation = "open";
    i.canDefault = true;
    i.canRetry = true;
    i.tries = tries;
    const ErrorAction a = raiseError(i);
    if (a == ErrorAction::Retry) continue;
    if (a == ErrorAction::Default) return false;
    throw DbfError(i);
  }
}

Table::~Table() {
  try {
    close();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "korvan: closing table %s: %s\n", qPrintable(base_), e.what());
  }
}

void Table::close() {
  if (!dbf_.isOpen()) return;
  struct Closer {
    Table* t;
    ~Closer() {
      t->cdx_.close();
      t->memo_.close();
      t->dbf_.close();  // closing the descriptor releases every lock
      t->locks_.clear();
      t->appendHeld_ = false;
      t->dirty_ = false;
    }
  } closer{this};
  flush();
}

// ---------------------------------------------------------------- structure

Structure Table::structure() const {
  Structure s;
  for (const FieldInfo& f : hdr_.fields) s << f.def;
  return s;
}

QString Table::fieldName(int pos) const {
  if (pos < 1 || pos > fieldCount()) return {};
  return hdr_.fields[pos - 1].def.name;
}

int Table::fieldPos(const QString& name) const { return byName_.value(name.trimmed().toUpper(), 0); }

FieldDef Table::field(int pos) const { return hdr_.fields[checkPos(pos, "field") - 1].def; }

int Table::checkPos(int pos, const char* operation) const {
  if (pos < 1 || pos > fieldCount())
    error(EG_ARG, SC_ARG, "Nema polja broj " + QString::number(pos), QString::fromLatin1(operation));
  return pos;
}

void Table::error(int gen, int sub, const QString& text, const QString& operation) const {
  fail(gen, sub, text, dbf_.path(), operation);
}

// ---------------------------------------------------------------- records

uint32_t Table::liveCount() {
  const uint8_t* h = dbf_.view(4, 4);
  if (!h) error(EG_CORRUPTION, SC_CORRUPT, "Oštećena tabela (zaglavlje)", "reccount");
  uint32_t n = le32(h);
  // Records are written before the count, so the file holds them; a count
  // beyond the file (a damaged header) is cut to what the file holds.
  const int64_t need = int64_t(hdr_.headerLen) + int64_t(n) * hdr_.recordLen;
  if (need > dbf_.knownSize() && need > dbf_.size()) {
    const int64_t room = (dbf_.knownSize() - hdr_.headerLen) / hdr_.recordLen;
    n = uint32_t(std::max<int64_t>(room, 0));
  }
  return n;
}

uint32_t Table::recCount() { return liveCount(); }

uint32_t Table::recno() const { return recno_; }

const uint8_t* Table::image(uint32_t r) {
  const uint8_t* p = dbf_.view(int64_t(hdr_.headerLen) + int64_t(r - 1) * hdr_.recordLen, hdr_.recordLen);
  if (!p) error(EG_CORRUPTION, SC_CORRUPT, "Slog " + QString::number(r) + " van fajla", "read");
  return p;
}

const uint8_t* Table::currentImage() {
  if (eof_ || recno_ < 1) return nullptr;
  if (dirty_ && bufRec_ == recno_) return reinterpret_cast<const uint8_t*>(buf_.constData());
  if (recno_ > liveCount()) return nullptr;
  return image(recno_);
}

bool Table::visible(uint32_t r) {
  if (r < 1 || r > liveCount()) return false;
  return image(r)[0] != '*';
}

// ---------------------------------------------------------------- tags

QList<int> Table::parseKey(const QString& expr, int* keyLen, QString* why) const {
  QList<int> fields;
  *keyLen = 0;
  for (const QString& part : expr.split('+')) {
    const int pos = fieldPos(part.trimmed());
    if (pos == 0) {
      *why = "izraz ključa '" + expr + "'";
      return {};
    }
    const FieldDef& f = hdr_.fields[pos - 1].def;
    if (f.type != 'C') {
      *why = "ključ nije znakovni (" + f.name + ")";
      return {};
    }
    fields << pos;
    *keyLen += f.len;
  }
  if (*keyLen <= 0 || *keyLen > 240) {
    *why = "dužina ključa " + QString::number(*keyLen);
    return {};
  }
  return fields;
}

void Table::loadTags() {
  const QList<TagInfo> list = cdx_.isOpen() ? cdx_.tags() : QList<TagInfo>();
  bool same = list.size() == tagsSeen_.size();
  for (int i = 0; same && i < list.size(); ++i)
    same = list[i].header == tagsSeen_[i].header && list[i].keyLen == tagsSeen_[i].keyLen &&
           list[i].expr == tagsSeen_[i].expr && list[i].forExpr == tagsSeen_[i].forExpr;
  if (same && !tags_.isEmpty()) return;
  const int64_t current = order_ > 0 && order_ <= tags_.size() ? tags_[order_ - 1].info.header : -1;
  tagsSeen_ = list;
  tags_.clear();
  for (const TagInfo& ti : list) {
    TagState s;
    s.info = ti;
    int kl = 0;
    s.keyFields = parseKey(ti.expr, &kl, &s.why);
    s.maintained = !s.keyFields.isEmpty() && kl == ti.keyLen;
    if (!s.keyFields.isEmpty() && kl != ti.keyLen) s.why = "dužina ključa";
    if (!ti.forExpr.trimmed().isEmpty()) {
      s.maintained = false;
      s.why = "FOR uslov";
    }
    if (ti.descending || (ti.options & 0x01)) {
      s.maintained = false;
      s.why = ti.descending ? "opadajući redosled" : "jedinstveni ključ";
    }
    tags_ << s;
  }
  order_ = 0;
  for (int i = 0; i < tags_.size(); ++i)
    if (tags_[i].info.header == current) order_ = i + 1;
}

// Tags change only through buildTag, which needs the table alone, so the
// list read at open stays true while the table is open.
const Table::TagState* Table::orderTag() {
  if (order_ < 1 || order_ > tags_.size()) return nullptr;
  return &tags_[order_ - 1];
}

QByteArray Table::keyOf(const TagState& t, const uint8_t* img) const {
  QByteArray k;
  k.reserve(t.info.keyLen);
  for (int pos : t.keyFields) {
    const FieldInfo& f = hdr_.fields[pos - 1];
    k.append(reinterpret_cast<const char*>(img + f.offset), f.def.len);
  }
  return k;
}

int Table::tagCount() {
  return int(tags_.size());
}

QString Table::tagName(int n) {
  return n >= 1 && n <= tags_.size() ? tags_[n - 1].info.name : QString();
}

QString Table::tagExpression(int n) {
  return n >= 1 && n <= tags_.size() ? tags_[n - 1].info.expr : QString();
}

bool Table::tagMaintained(int n) {
  return n >= 1 && n <= tags_.size() && tags_[n - 1].maintained;
}

void Table::setOrder(int n) {
  flush();
  if (n < 0 || n > tags_.size()) error(EG_NOORDER, SC_NOORDER, "Nema redosleda " + QString::number(n), "order");
  order_ = n;
  if (!eof_) positionOn(recno_);
}

bool Table::setOrder(const QString& tagName) {
  for (int i = 0; i < tags_.size(); ++i)
    if (tags_[i].info.name.compare(tagName.trimmed(), Qt::CaseInsensitive) == 0) {
      setOrder(i + 1);
      return true;
    }
  return false;
}

void Table::tagKeys(const QString& expression, int* keyLen, std::vector<uint8_t>* keys,
                    std::vector<uint32_t>* order) {
  QString why;
  const QList<int> fields = parseKey(expression, keyLen, &why);
  if (fields.isEmpty()) error(EG_UNSUPPORTED, SC_UNSUPPORTED, "Nepodržan ključ: " + why, "index");
  const int kl = *keyLen;
  TagState probe;
  probe.keyFields = fields;
  probe.info.keyLen = kl;
  const uint32_t n = liveCount();
  order->resize(n);
  std::iota(order->begin(), order->end(), 1u);
  std::vector<uint8_t> all(size_t(n) * size_t(kl));
  for (uint32_t r = 1; r <= n; ++r) {
    const QByteArray k = keyOf(probe, image(r));
    std::memcpy(all.data() + size_t(r - 1) * kl, k.constData(), size_t(kl));
  }
  std::stable_sort(order->begin(), order->end(), [&](uint32_t a, uint32_t b) {
    return std::memcmp(all.data() + size_t(a - 1) * kl, all.data() + size_t(b - 1) * kl, size_t(kl)) < 0;
  });
  keys->resize(all.size());
  for (size_t i = 0; i < order->size(); ++i)
    std::memcpy(keys->data() + i * kl, all.data() + size_t((*order)[i] - 1) * kl, size_t(kl));
}

QString Table::companionPath(const QString& ext) const {
  // A table named in upper case (copied from Windows) gets upper-case companions.
  const bool upper = dbf_.path().endsWith(".DBF");
  return findIgnoringCase(base_ + (upper ? ext.toUpper() : ext));
}

void Table::markIndexed() {
  const uint8_t* h = dbf_.view(28, 1);
  const uint8_t flags = uint8_t((h ? h[0] : 0) | kFlagCdx);
  dbf_.writeAt(&flags, 1, 28);
  hdr_.flags = flags;
}

void Table::buildTag(const QString& name, const QString& expression) {
  flush();
  // Building a tag leaves no other tag stale, so it is allowed beside tags
  // the engine cannot keep (rebuilding one of those makes it kept).
  if (readOnly_) error(EG_READONLY, SC_READONLY, "Tabela je otvorena samo za čitanje", "index");
  if (!exclusive_) error(EG_SHARED, SC_SHARED, "Za pravljenje indeksa tabela mora biti otvorena ekskluzivno", "index");
  int kl = 0;
  std::vector<uint8_t> keys;
  std::vector<uint32_t> order;
  tagKeys(expression, &kl, &keys, &order);
  if (!cdx_.isOpen()) {
    const QString path = companionPath(".cdx");
    const QString tmp = writeTemp(path, CdxFile::newFile());
    if (::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0) {
      QFile::remove(tmp);
      error(EG_CREATE, SC_CREATE, "Ne može se napraviti indeks", "index");
    }
    cdx_.open(path, true, &dbf_, exclusive_);
    markIndexed();
  }
  {
    CdxFile::Writer w(cdx_);
    cdx_.buildTag(name, expression.trimmed(), kl, keys, order);
  }
  tagsSeen_.clear();
  tags_.clear();
  loadTags();
  setOrder(name);
  top();
}

void Table::rebuildIndex(const QList<QPair<QString, QString>>& tags) {
  flush();
  if (readOnly_) error(EG_READONLY, SC_READONLY, "Tabela je otvorena samo za čitanje", "index");
  if (!exclusive_) error(EG_SHARED, SC_SHARED, "Za pravljenje indeksa tabela mora biti otvorena ekskluzivno", "index");
  if (tags.isEmpty()) error(EG_ARG, SC_ARG, "Nema oznaka za indeks", "index");
  struct Built {
    int keyLen = 0;
    std::vector<uint8_t> keys;
    std::vector<uint32_t> order;
  };
  std::vector<Built> built(size_t(tags.size()));
  for (int i = 0; i < tags.size(); ++i) tagKeys(tags[i].second, &built[i].keyLen, &built[i].keys, &built[i].order);
  const QString path = cdx_.isOpen() ? cdx_.path() : companionPath(".cdx");
  const QString tmp = writeTemp(path, CdxFile::newFile());
  try {
    CdxFile fresh;
    fresh.open(tmp, true, &dbf_, true);
    {
      CdxFile::Writer w(fresh);
      for (int i = 0; i < tags.size(); ++i)
        fresh.buildTag(tags[i].first, tags[i].second.trimmed(), built[i].keyLen, built[i].keys, built[i].order);
    }
    fresh.sync();
    fresh.close();
  } catch (...) {
    QFile::remove(tmp);
    throw;
  }
  if (::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0) {
    const int e = errno;
    QFile::remove(tmp);
    fail(EG_CREATE, SC_CREATE, "Ne može se napraviti indeks", path, "index", osCodeFromErrno(e));
  }
  cdx_.close();
  cdx_.open(path, true, &dbf_, exclusive_);
  markIndexed();
  tagsSeen_.clear();
  tags_.clear();
  loadTags();
  setOrder(1);
  top();
}

// ---------------------------------------------------------------- movement

void Table::setEof() {
  eof_ = true;
  posValid_ = false;
  recno_ = liveCount() + 1;
}

void Table::positionOn(uint32_t r) {
  recno_ = r;
  eof_ = false;
  posValid_ = false;
  if (const TagState* t = orderTag()) {
    pos_ = KeyPos();
    pos_.key = keyOf(*t, image(r));
    pos_.rec = r;
    posValid_ = true;
  }
}

bool Table::firstVisible() {
  if (const TagState* t = orderTag()) {
    std::optional<KeyPos> p = cdx_.first(t->info.header);
    while (p && !visible(p->rec)) p = cdx_.next(t->info.header, *p);
    if (!p) return false;
    recno_ = p->rec;
    pos_ = *p;
    posValid_ = true;
    eof_ = false;
    return true;
  }
  const uint32_t n = liveCount();
  for (uint32_t r = 1; r <= n; ++r)
    if (image(r)[0] != '*') {
      recno_ = r;
      eof_ = false;
      return true;
    }
  return false;
}

bool Table::lastVisible() {
  if (const TagState* t = orderTag()) {
    std::optional<KeyPos> p = cdx_.last(t->info.header);
    while (p && !visible(p->rec)) p = cdx_.prev(t->info.header, *p);
    if (!p) return false;
    recno_ = p->rec;
    pos_ = *p;
    posValid_ = true;
    eof_ = false;
    return true;
  }
  for (uint32_t r = liveCount(); r >= 1; --r)
    if (image(r)[0] != '*') {
      recno_ = r;
      eof_ = false;
      return true;
    }
  return false;
}

bool Table::nextVisible() {
  if (const TagState* t = orderTag()) {
    if (!posValid_) positionOn(recno_);
    std::optional<KeyPos> p = cdx_.next(t->info.header, pos_);
    while (p && !visible(p->rec)) p = cdx_.next(t->info.header, *p);
    if (!p) return false;
    recno_ = p->rec;
    pos_ = *p;
    return true;
  }
  const uint32_t n = liveCount();
  for (uint32_t r = recno_ + 1; r <= n; ++r)
    if (image(r)[0] != '*') {
      recno_ = r;
      return true;
    }
  return false;
}

bool Table::prevVisible() {
  if (const TagState* t = orderTag()) {
    if (!posValid_) positionOn(recno_);
    std::optional<KeyPos> p = cdx_.prev(t->info.header, pos_);
    while (p && !visible(p->rec)) p = cdx_.prev(t->info.header, *p);
    if (!p) return false;
    recno_ = p->rec;
    pos_ = *p;
    return true;
  }
  for (uint32_t r = std::min(recno_, liveCount() + 1) - 1; r >= 1; --r)
    if (image(r)[0] != '*') {
      recno_ = r;
      return true;
    }
  return false;
}

void Table::top() {
  flush();
  found_ = false;
  bof_ = false;
  if (!firstVisible()) {
    setEof();
    bof_ = true;
  } else {
    eof_ = false;
  }
}

void Table::bottom() {
  flush();
  found_ = false;
  bof_ = false;
  if (!lastVisible()) {
    setEof();
    bof_ = true;
  } else {
    eof_ = false;
  }
}

void Table::go(uint32_t r) {
  flush();
  found_ = false;
  bof_ = false;
  const uint32_t n = liveCount();
  if (r < 1 || r > n) {
    setEof();
    bof_ = n == 0;
    return;
  }
  positionOn(r);
}

void Table::skip(int n) {
  flush();
  if (n == 0) return;
  if (n > 0) {
    bof_ = false;
    if (eof_) return;
    for (int i = 0; i < n; ++i)
      if (!nextVisible()) {
        setEof();
        return;
      }
    return;
  }
  if (eof_) {
    if (!lastVisible()) {
      setEof();
      bof_ = true;
      return;
    }
    eof_ = false;
    ++n;
  }
  for (int i = 0; i < -n; ++i)
    if (!prevVisible()) {
      // Before the first record: stay on the first visible one.
      bof_ = true;
      if (!firstVisible()) setEof();
      return;
    }
  bof_ = false;
}

bool Table::seek(const QString& key, bool soft, bool exact) { return seekBytes(key.toUtf8(), soft, exact); }

bool Table::seekBytes(const QByteArray& key, bool soft, bool exact) {
  flush();
  const TagState* t = orderTag();
  if (!t) error(EG_NOORDER, SC_NOORDER, "Nema glavnog redosleda za traženje", "seek");
  const int kl = t->info.keyLen;
  QByteArray k = key.left(kl);
  const bool prefix = !exact && k.size() < kl;
  if (!prefix && k.size() < kl) k.append(QByteArray(kl - k.size(), ' '));
  bof_ = false;
  std::optional<KeyPos> p = cdx_.lowerBound(t->info.header, k, 0);
  while (p && !visible(p->rec)) p = cdx_.next(t->info.header, *p);
  found_ = p && (prefix ? p->key.startsWith(k) : p->key == k);
  if (p && (found_ || soft)) {
    recno_ = p->rec;
    pos_ = *p;
    posValid_ = true;
    eof_ = false;
  } else {
    setEof();
  }
  return found_;
}

// ---------------------------------------------------------------- fields

uint32_t Table::memoBlock(const uint8_t* img, const FieldInfo& f) const {
  const int64_t b = memoRefBlock(img + f.offset, f.def.len);
  if (b < 0) error(EG_CORRUPTION, SC_CORRUPT, "Oštećena memo veza u polju " + f.def.name, "memo");
  return uint32_t(b);
}

void Table::putMemoBlock(QByteArray& img, const FieldInfo& f, uint32_t block) const {
  const QByteArray t = memoRefBytes(block, f.def.len);
  std::memcpy(img.data() + f.offset, t.constData(), size_t(f.def.len));
}

QByteArray Table::raw(int pos) {
  const FieldInfo& f = hdr_.fields[checkPos(pos, "get") - 1];
  const uint8_t* img = currentImage();
  if (!img) return QByteArray(f.def.len, ' ');
  return QByteArray(reinterpret_cast<const char*>(img + f.offset), f.def.len);
}

QByteArrayView Table::bytes(const FieldInfo& f) {
  const uint8_t* img = currentImage();
  if (!img) return {};
  return QByteArrayView(reinterpret_cast<const char*>(img + f.offset), f.def.len);
}

QString Table::trimmedText(int pos) {
  QByteArrayView b = bytes(hdr_.fields[checkPos(pos, "get") - 1]);
  while (!b.isEmpty() && b.back() == ' ') b.chop(1);
  while (!b.isEmpty() && b.front() == ' ') b = b.sliced(1);
  return decodeText(b);
}

QByteArray Table::memoBytes(int pos) {
  const FieldInfo& f = hdr_.fields[checkPos(pos, "get") - 1];
  const uint8_t* img = currentImage();
  if (!img || f.def.type != 'M') return {};
  if (dirty_ && bufRec_ == recno_ && memoPending_.contains(pos)) return memoPending_[pos];
  if (!memo_.isOpen()) error(EG_OPEN, SC_OPEN, "Nedostaje memo fajl", "memo");
  return memo_.read(memoBlock(img, f));
}

QVariant Table::value(const QString& name) {
  const int pos = fieldPos(name);
  if (!pos) error(EG_ARG, SC_ARG, "Nema polja " + name, "get");
  return value(pos);
}

QVariant Table::value(int pos) {
  const FieldInfo& f = hdr_.fields[checkPos(pos, "get") - 1];
  const uint8_t* img = currentImage();
  if (!img) {
    switch (f.def.type) {
      case 'C': return QString(f.def.len, ' ');
      case 'N':
      case 'F': return 0.0;
      case 'D': return QDate();
      case 'L': return false;
      case 'M': return QString();
      default: return QString(f.def.len, ' ');
    }
  }
  const QByteArrayView b = bytes(f);
  switch (f.def.type) {
    case 'C': return decodeText(b);
    case 'N':
    case 'F': return decodeNumber(b, f.def, dbf_.path());
    case 'D': return decodeDate(b, f.def, dbf_.path());
    case 'L': return decodeLogical(b);
    case 'M': return QString::fromUtf8(memoBytes(pos));
    default: return QString::fromLatin1(b);
  }
}

void Table::checkWritable(const QString& operation) {
  if (readOnly_) error(EG_READONLY, SC_READONLY, "Tabela je otvorena samo za čitanje", operation);
  for (const TagState& t : tags_)
    if (!t.maintained)
      error(EG_UNSUPPORTED, SC_UNSUPPORTED,
            "Indeks " + t.info.name + " se ne može održavati (" + t.why + "), upis nije dozvoljen", operation);
}

void Table::checkRecordWritable(const QString& operation) {
  checkWritable(operation);
  if (eof_ || recno_ < 1 || recno_ > liveCount()) error(EG_ARG, SC_ARG, "Nema tekućeg sloga (kraj tabele)", operation);
  if (!exclusive_ && !locks_.contains(recno_))
    error(EG_UNLOCKED, SC_UNLOCKED, "Slog " + QString::number(recno_) + " nije zaključan", operation);
}

void Table::beginChange() {
  if (dirty_ && bufRec_ == recno_) return;
  flush();
  buf_ = QByteArray(reinterpret_cast<const char*>(image(recno_)), hdr_.recordLen);
  bufRec_ = recno_;
  memoPending_.clear();
  dirty_ = true;
}

void Table::put(const QString& name, const QVariant& v) {
  const int pos = fieldPos(name);
  if (!pos) error(EG_ARG, SC_ARG, "Nema polja " + name, "put");
  put(pos, v);
}

void Table::put(int pos, const QVariant& v) {
  const FieldInfo& f = hdr_.fields[checkPos(pos, "put") - 1];
  checkRecordWritable("put");
  const bool isText = v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray ||
                      v.typeId() == QMetaType::UnknownType;
  QByteArray enc;
  switch (f.def.type) {
    case 'C':
      if (!isText) error(EG_DATATYPE, SC_DATATYPE, "Polje " + f.def.name + " prima tekst", "put");
      enc = encodeText(v.toString(), f.def.len);
      break;
    case 'N':
      enc = encodeNumber(v, f.def, dbf_.path());
      break;
    case 'D':
      if (v.typeId() != QMetaType::QDate && v.typeId() != QMetaType::UnknownType)
        error(EG_DATATYPE, SC_DATATYPE, "Polje " + f.def.name + " prima datum", "put");
      enc = encodeDate(v.toDate());
      break;
    case 'L':
      if (v.typeId() != QMetaType::Bool) error(EG_DATATYPE, SC_DATATYPE, "Polje " + f.def.name + " prima T/F", "put");
      enc = encodeLogical(v.toBool());
      break;
    case 'M':
      if (!isText) error(EG_DATATYPE, SC_DATATYPE, "Polje " + f.def.name + " prima tekst", "put");
      if (!memo_.isOpen()) error(EG_OPEN, SC_OPEN, "Nedostaje memo fajl", "put");
      beginChange();
      memoPending_[pos] = v.toString().toUtf8();
      return;
    default:
      error(EG_UNSUPPORTED, SC_UNSUPPORTED, "Upis u polje tipa " + QString(QChar(f.def.type)) + " nije podržan",
            "put");
  }
  beginChange();
  std::memcpy(buf_.data() + f.offset, enc.constData(), size_t(f.def.len));
}

bool Table::deleted() {
  const uint8_t* img = currentImage();
  return img && img[0] == '*';
}

void Table::markDeleted() {
  checkRecordWritable("delete");
  beginChange();
  buf_[0] = '*';
}

// ---------------------------------------------------------------- writing

void Table::flush() {
  if (!dirty_) return;
  const uint32_t r = bufRec_;
  const uint8_t* old = image(r);
  QByteArray img = buf_;
  if (!memoPending_.isEmpty()) {
    if (!exclusive_) lockOrRaise(dbf_, kLockMemo, true, 5000, "memo");
    struct Unlock {
      Table* t;
      ~Unlock() {
        if (!t->exclusive_) t->dbf_.unlock(kLockMemo);
      }
    } unlock{this};
    for (auto it = memoPending_.cbegin(); it != memoPending_.cend(); ++it) {
      const FieldInfo& f = hdr_.fields[it.key() - 1];
      const uint32_t block = memo_.write(memoBlock(old, f), it.value());
      putMemoBlock(img, f, block);
    }
  }
  QList<QPair<int, QPair<QByteArray, QByteArray>>> changed;
  for (int i = 0; i < tags_.size(); ++i) {
    const QByteArray ok = keyOf(tags_[i], old), nk = keyOf(tags_[i], reinterpret_cast<const uint8_t*>(img.constData()));
    if (ok != nk) changed.append({i, {ok, nk}});
  }
  const int64_t at = int64_t(hdr_.headerLen) + int64_t(r - 1) * hdr_.recordLen;
  if (changed.isEmpty()) {
    dbf_.writeAt(img.constData(), img.size(), at);
  } else {
    CdxFile::Writer w(cdx_);
    for (const auto& c : changed) {
      const std::optional<KeyPos> p = cdx_.lowerBound(tags_[c.first].info.header, c.second.first, r);
      if (!p || p->rec != r || p->key != c.second.first)
        error(EG_CORRUPTION, SC_CORRUPT,
              "Indeks " + tags_[c.first].info.name + " ne sadrži ključ sloga " + QString::number(r) +
                  " (indeks treba ponovo napraviti)",
              "write");
    }
    for (const auto& c : changed) {
      const int64_t h = tags_[c.first].info.header;
      cdx_.remove(h, c.second.first, r);
      cdx_.insert(h, c.second.second, r);
    }
    dbf_.writeAt(img.constData(), img.size(), at);
  }
  dirty_ = false;
  memoPending_.clear();
  if (recno_ == r) positionOn(r);
}

void Table::commit() {
  flush();
  if (readOnly_) return;
  dbf_.sync();
  if (memo_.isOpen()) memo_.file().sync();
  if (cdx_.isOpen()) cdx_.sync();
}

void Table::releaseLocks() {
  if (!exclusive_)
    for (uint32_t r : std::as_const(locks_)) dbf_.unlock(recordLockOffset(r));
  locks_.clear();
}

bool Table::lock() {
  flush();
  if (readOnly_) error(EG_READONLY, SC_READONLY, "Tabela je otvorena samo za čitanje", "lock");
  if (eof_ || recno_ < 1 || recno_ > liveCount()) return false;
  const uint32_t r = recno_;
  QSet<uint32_t> others = locks_;
  others.remove(r);
  if (!exclusive_)
    for (uint32_t o : std::as_const(others)) dbf_.unlock(recordLockOffset(o));
  locks_.subtract(others);
  if (locks_.contains(r)) return true;
  if (!exclusive_ && !dbf_.tryLock(recordLockOffset(r), true)) return false;
  locks_.insert(r);
  return true;
}

bool Table::isLocked(uint32_t r) const { return locks_.contains(r); }

void Table::unlock() {
  flush();
  releaseLocks();
}

bool Table::tryLockAppend() {
  checkWritable("append");
  if (appendHeld_) return true;
  if (!exclusive_ && !dbf_.tryLock(kLockAppend, true)) return false;
  appendHeld_ = true;
  return true;
}

void Table::unlockAppend() {
  if (!appendHeld_) return;
  struct Release {
    Table* t;
    ~Release() {
      t->appendHeld_ = false;
      if (!t->exclusive_) t->dbf_.unlock(kLockAppend);
    }
  } release{this};
  flush();
}

bool Table::appendBlank() {
  flush();
  setNetErr(false);
  checkWritable("append");
  releaseLocks();
  int tries = 0;
  auto appendLockFailed = [this, &tries]() -> ErrorAction {
    ErrorInfo i;
      i.genCode = EG_APPENDLOCK;
      i.subsystem = kSubsystem;
      i.subCode = SC_APPENDLOCK;
      i.description = "Ne može se dodati slog";
      i.fileName = dbf_.path();
      i.operation = "append";
      i.canDefault = true;
      i.tries = tries++;
    const ErrorAction a = raiseError(i);
    if (a != ErrorAction::Retry && a != ErrorAction::Default) throw DbfError(i);
    return a;
  };
  uint32_t r = 0;
  for (;;) {
    if (exclusive_) break;
    if (appendHeld_ || dbf_.waitLock(kLockAppend, true, 1000)) {
      r = liveCount() + 1;
      if (dbf_.tryLock(recordLockOffset(r), true)) break;
      if (!appendHeld_) dbf_.unlock(kLockAppend);
    }
    if (appendLockFailed() == ErrorAction::Default) return false;
  }
  QByteArray blank(hdr_.recordLen, ' ');
  for (const FieldInfo& f : hdr_.fields)
    if (f.def.type == 'M' && f.def.len == 4) std::memset(blank.data() + f.offset, 0, 4);
  try {
    const uint32_t n = liveCount();
    r = n + 1;
    QByteArray rec = blank;
    rec.append(char(0x1A));
    dbf_.writeAt(rec.constData(), rec.size(), int64_t(hdr_.headerLen) + int64_t(n) * hdr_.recordLen);
    uint8_t h[7];
    stampDate(h);
    for (int i = 0; i < 4; ++i) h[3 + i] = uint8_t(r >> (8 * i));
    dbf_.writeAt(h, 7, 1);
  } catch (...) {
    if (!exclusive_) {
      if (r) dbf_.unlock(recordLockOffset(r));
      if (!appendHeld_) dbf_.unlock(kLockAppend);
    }
    throw;
  }
  if (!exclusive_ && !appendHeld_) dbf_.unlock(kLockAppend);
  locks_.insert(r);
  if (!tags_.isEmpty()) {
    CdxFile::Writer w(cdx_);  // the blank keys, so that the index holds every record
    for (const TagState& t : std::as_const(tags_))
      cdx_.insert(t.info.header, keyOf(t, reinterpret_cast<const uint8_t*>(blank.constData())), r);
  }
  bof_ = false;
  found_ = false;
  positionOn(r);
  return true;
}

int Table::appendFrom(const QString& path) {
  flush();
  checkWritable("append from");
  std::unique_ptr<Table> src = open(path, false, true);
  if (!src) fail(EG_OPEN, SC_OPEN, "Tabela je zauzeta", path, "append from", kSharingViolation);
  return appendFrom(*src);
}

int Table::appendFrom(Table& src) {
  flush();
  checkWritable("append from");
  if (&src == this) error(EG_ARG, SC_ARG, "Tabela se ne može dodati samoj sebi", "append from");
  const QString path = src.dbfPath();
  src.setOrder(0);
  QList<QPair<int, int>> map;  // (here, there)
  for (int i = 1; i <= fieldCount(); ++i) {
    const int j = src.fieldPos(fieldName(i));
    if (!j) continue;
    const char a = field(i).type, b = src.field(j).type;
    if (a != b)
      error(EG_DATATYPE, SC_DATATYPE,
            "Polje " + fieldName(i) + " je tipa " + QChar(b) + " u " + path + " a ovde tipa " + QChar(a),
            "append from");
    map.append({i, j});
  }
  int count = 0;
  for (src.top(); !src.eof(); src.skip()) {
    if (!appendBlank()) fail(EG_APPENDLOCK, SC_APPENDLOCK, "Ne može se dodati slog", dbf_.path(), "append from");
    for (const auto& [i, j] : map) {
      const FieldDef d = field(i);
      if (d.type == 'C' || d.type == 'D' || d.type == 'L') {
        const QByteArray b = fitBytes(src.raw(j), d.len);
        beginChange();
        std::memcpy(buf_.data() + hdr_.fields[i - 1].offset, b.constData(), size_t(d.len));
      } else if (d.type == 'M') {
        const QByteArray text = src.memoBytes(j);
        beginChange();
        if (!text.isEmpty() || memoBlock(reinterpret_cast<const uint8_t*>(buf_.constData()), hdr_.fields[i - 1]))
          memoPending_[i] = text;
      } else {
        put(i, src.value(j));
      }
    }
    flush();
    ++count;
  }
  unlock();
  return count;
}

}  // namespace korvan::dbf
