#pragma once
// A FoxPro compound index file: a tag directory (itself a compact index whose
// keys are tag names and whose record numbers are tag header offsets) and one
// B-tree per tag. Readers take no lock: each read checks the change counter
// of the file (bytes 8-11 of the directory header) before and after, and
// falls back to a shared index lock when a writer was at work. Writers hold
// the exclusive index lock and make the counter odd while pages change.
#include "common/dbf/cdxpage.h"
#include "common/dbf/fileio.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <exception>
#include <optional>
#include <unordered_map>
#include <array>
#include <map>

namespace korvan::dbf {

struct TagInfo {
  QString name;
  int64_t header = 0;
  int64_t root = 0;
  int keyLen = 0;
  uint8_t options = 0;
  bool descending = false;
  QString expr;
  QString forExpr;
};

// A place in a tag: the entry and a hint where it was found.
struct KeyPos {
  QByteArray key;
  uint32_t rec = 0;
  int64_t leaf = kNoPage;
  int idx = 0;
  uint64_t gen = 0;  // the hint holds only while the index has not changed
};

class CdxFile {
 public:
  // locks: the table's .dbf file, which carries the index lock byte.
  void open(const QString& path, bool writable, File* locks, bool exclusive);
  void close();
  bool isOpen() const { return file_.isOpen(); }
  const QString& path() const { return file_.path(); }
  static QByteArray newFile();

  // Every tag, numbered by build order (the order of their headers).
  QList<TagInfo> tags();

  std::optional<KeyPos> first(int64_t tagHeader);
  std::optional<KeyPos> last(int64_t tagHeader);
  // First entry >= (key, rec); key is padded or cut to the key length.
  std::optional<KeyPos> lowerBound(int64_t tagHeader, const QByteArray& key, uint32_t rec);
  std::optional<KeyPos> next(int64_t tagHeader, const KeyPos& at);
  std::optional<KeyPos> prev(int64_t tagHeader, const KeyPos& at);
  // Every entry of a tag in order (for checks and rebuilds).
  QList<QPair<QByteArray, uint32_t>> entries(int64_t tagHeader);

  // Changes: between beginWrite() and endWrite() (an RAII Writer does both).
  void beginWrite();
  void endWrite(bool completed = true);
  class Writer {
   public:
    explicit Writer(CdxFile& f) : f_(f), pending_(std::uncaught_exceptions()) { f_.beginWrite(); }
    ~Writer() { f_.endWrite(std::uncaught_exceptions() == pending_); }
   private:
    CdxFile& f_;
    int pending_;
  };
  void insert(int64_t tagHeader, const QByteArray& key, uint32_t rec);
  // False when the entry was not there.
  bool remove(int64_t tagHeader, const QByteArray& key, uint32_t rec);
  // Builds (or rebuilds in place) the tag from entries sorted by key, then rec.
  void buildTag(const QString& name, const QString& expr, int keyLen,
                const std::vector<uint8_t>& keys, const std::vector<uint32_t>& recs);
  void sync() { file_.sync(); }

 private:
  struct Step {
    int64_t page;
    int idx;
  };
  template <class F>
  auto read(F&& f) -> decltype(f());
  const Page& page(int64_t off, int keyLen);
  void writePage(Page& p);
  bool tryWritePage(Page& p);
  void writeDirty();
  int64_t allocPage(int n = 1);
  uint32_t version();
  // True when an odd change counter is at rest (no writer holds the index).
  bool restingOdd(uint32_t v);
  void putVersion(uint32_t v);
  TagInfo readHeader(int64_t off);
  void writeHeader(const TagInfo& t);
  int64_t rootOf(int64_t tagHeader, int* keyLen);
  void setRoot(int64_t tagHeader, int64_t root);
  std::optional<KeyPos> seekIn(int64_t tagHeader, const uint8_t* key, uint32_t rec, std::vector<Step>* path);
  // The first entry in the leaves after (before) `leaf`, checking each link.
  std::optional<KeyPos> stepRight(const Page& leaf);
  std::optional<KeyPos> stepLeft(const Page& leaf);
  const Page& sibling(int64_t from, int64_t off, int keyLen, bool rightward);
  std::optional<KeyPos> at(const Page& p, int i);
  void fixUpward(int64_t tagHeader, std::vector<Step>& path, int level);
  void splitUpward(int64_t tagHeader, std::vector<Step>& path, int level);
  void removePageUpward(int64_t tagHeader, std::vector<Step>& path, int level);
  int64_t writeTree(int keyLen, const std::vector<uint8_t>& keys, const std::vector<uint32_t>& recs);
  std::optional<KeyPos> afterRaw(int64_t leafOff, int idx, int keyLen);
  std::optional<KeyPos> beforeRaw(int64_t leafOff, int idx, int keyLen);
  void invalidate();
  [[noreturn]] void corrupt(const QString& what);

  File file_;
  File* locks_ = nullptr;
  bool exclusive_ = false;
  bool strict_ = false;   // inside a locked read or a write: bad bytes are corruption
  bool writing_ = false;
  bool inRead_ = false;
  uint32_t writeVersion_ = 0;
  uint32_t cacheVersion_ = 1;  // odd = nothing valid
  uint32_t restingOdd_ = 0;    // an odd counter found at rest (0: none)
  uint64_t gen_ = 1;
  int64_t nextAlloc_ = 0;
  std::unordered_map<int64_t, Page> cache_;
  std::map<int64_t, std::array<uint8_t, kPageSize>> dirty_;  // pages changed in the running write
  std::unordered_map<int64_t, TagInfo> headers_;
  QList<TagInfo> tagList_;
  bool tagListValid_ = false;
};

// Thrown inside an unlocked read that met bytes a writer was changing.
struct TornRead {};

}  // namespace korvan::dbf
