#pragma once
// One open table (a work area): the .dbf records, the .fpt memos and the
// production .cdx index, opened shared, exclusive or read-only.
//
// Nothing that another process may change is kept between calls: the record
// count, the records, the memos and the index are read from the files each
// time (through shared mappings, so reads cost no system call). Changes to the
// current record are kept in a record buffer until the record pointer moves,
// the record is unlocked, another record is locked or appended, or the table
// is committed or closed; the record and its index keys are then written
// together. In a shared open a record must be locked before it is changed.
//
// Field positions are 1-based, as FIELDGET and FIELDPUT count them.
#include "common/dbf/cdx.h"
#include "common/dbf/dbfformat.h"
#include "common/dbf/fileio.h"
#include "common/dbf/memo.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QVariant>
#include <memory>

namespace korvan::dbf {

class Table {
 public:
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Creates path.dbf (and path.fpt when there are memo fields) from the list;
  // a path ending in ".DBF" gets upper-case file extensions. D, M and L
  // lengths are fixed to 8, 10 and 1. An existing table is an
  // error unless replace is true, and then it must not be open anywhere.
  static void create(const QString& path, const Structure& structure, bool replace = false);
  // Opens path (with or without ".dbf", found ignoring letter case) and its
  // .fpt and .cdx. Returns nullptr, with the network-error flag set, when
  // another open holds the table in a conflicting way; throws DbfError for
  // every other failure.
  static std::unique_ptr<Table> open(const QString& path, bool exclusive, bool readOnly = false);
  // Writes pending changes and closes; the table is unusable afterwards.
  void close();

  QString path() const { return base_; }
  QString dbfPath() const { return dbf_.path(); }
  bool exclusive() const { return exclusive_; }
  bool readOnly() const { return readOnly_; }
  uint8_t version() const { return hdr_.version; }
  uint8_t codePage() const { return hdr_.codePage; }

  // Structure.
  Structure structure() const;
  int fieldCount() const { return int(hdr_.fields.size()); }
  QString fieldName(int pos) const;
  int fieldPos(const QString& name) const;  // 0 when there is no such field
  FieldDef field(int pos) const;

  // Record pointer.
  void top();
  void bottom();
  void go(uint32_t recno);
  void skip(int n = 1);
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  bool found() const { return found_; }
  uint32_t recno() const;
  uint32_t recCount();

  // Seek in the controlling order. A key shorter than the key length finds
  // the first key that begins with it; exact pads it with blanks and finds
  // only that key. Soft: a missing key leaves the pointer on the next higher
  // key (end-of-file when there is none).
  bool seek(const QString& key, bool soft = false, bool exact = false);
  bool seekBytes(const QByteArray& key, bool soft = false, bool exact = false);

  // Orders: 0 is record order, 1.. the tags in the order they were built.
  int order() const { return order_; }
  void setOrder(int n);
  bool setOrder(const QString& tagName);
  int tagCount();
  QString tagName(int n);
  QString tagExpression(int n);
  // Whether the engine keeps this tag up to date (false: a FOR condition, a
  // descending or unique tag, or a key expression it cannot compute).
  bool tagMaintained(int n);
  // Builds the tag (replacing one of that name) over every record; needs an
  // exclusive open. The key is one character field or several joined with
  // "+". The new tag becomes the controlling order and the pointer goes top.
  void buildTag(const QString& name, const QString& expression);
  // Replaces the production index with one holding exactly these tags (name,
  // key expression) in this order: the new file is built beside the old one
  // and renamed over it, so the table never has half an index. Needs an
  // exclusive open; tag 1 becomes the controlling order, the pointer goes top.
  void rebuildIndex(const QList<QPair<QString, QString>>& tags);

  // Fields of the current record (blank values at end-of-file).
  QVariant value(int pos);
  QVariant value(const QString& name);
  QByteArray raw(int pos);
  // A character field's text without its leading and trailing blanks, read
  // straight from the record (no padded copy on the way).
  QString trimmedText(int pos);
  QByteArray memoBytes(int pos);  // a memo's stored bytes
  void put(int pos, const QVariant& v);
  void put(const QString& name, const QVariant& v);

  bool deleted();
  void markDeleted();

  // Locks. lock() locks the current record and releases the table's other
  // record locks; false at once when another open holds it.
  bool lock();
  bool isLocked(uint32_t recno) const;
  void unlock();
  // Appends a blank record, which becomes current and locked (other record
  // locks are released). False, with the network-error flag set, when the
  // append lock cannot be had.
  bool appendBlank();
  // The append lock held across calls, so that a caller can look a key up
  // and append it with no other open appending in between; appendBlank()
  // under it neither waits for it nor gives it back. tryLockAppend() is
  // false at once when another open holds it; unlockAppend() writes the
  // record buffer first, so the appended key is in the index when it goes.
  bool tryLockAppend();
  void unlockAppend();
  // Copies every visible record of the table file at path, field by field
  // by name; returns the number of records appended.
  int appendFrom(const QString& path);
  // The same from a table this process has open (its order becomes record
  // order; its record pointer moves).
  int appendFrom(Table& source);
  // Writes the record buffer (flush) and forces the files to disk (commit).
  void flush();
  void commit();

 private:
  struct TagState {
    TagInfo info;
    QList<int> keyFields;  // positions, when maintained
    bool maintained = false;
    QString why;
  };
  Table() = default;
  bool lockPresence(bool exclusive);
  void tagKeys(const QString& expression, int* keyLen, std::vector<uint8_t>* keys, std::vector<uint32_t>* order);
  QString companionPath(const QString& ext) const;
  void markIndexed();
  void loadTags();
  const TagState* orderTag();
  const uint8_t* image(uint32_t recno);
  const uint8_t* currentImage();
  uint32_t liveCount();
  QByteArray keyOf(const TagState& t, const uint8_t* img) const;
  bool visible(uint32_t recno);
  void checkWritable(const QString& operation);
  void checkRecordWritable(const QString& operation);
  void beginChange();
  void positionOn(uint32_t recno);
  void setEof();
  bool nextVisible();
  bool prevVisible();
  bool lastVisible();
  bool firstVisible();
  // The field's bytes in the current record (empty at end-of-file), valid
  // until the pointer moves or the record changes.
  QByteArrayView bytes(const FieldInfo& f);
  uint32_t memoBlock(const uint8_t* img, const FieldInfo& f) const;
  void putMemoBlock(QByteArray& img, const FieldInfo& f, uint32_t block) const;
  // The operation is a literal: rows are read field by field, and a text made
  // for every read would cost as much as the read.
  int checkPos(int pos, const char* operation) const;
  void releaseLocks();
  QList<int> parseKey(const QString& expr, int* keyLen, QString* why) const;
  [[noreturn]] void error(int gen, int sub, const QString& text, const QString& operation) const;

  QString base_;
  File dbf_;
  MemoFile memo_;
  CdxFile cdx_;
  Header hdr_;
  QHash<QString, int> byName_;
  bool exclusive_ = false;
  bool readOnly_ = false;
  QList<TagState> tags_;
  QList<TagInfo> tagsSeen_;
  int order_ = 0;
  uint32_t recno_ = 1;
  bool eof_ = true, bof_ = true, found_ = false;
  KeyPos pos_;
  bool posValid_ = false;
  // Record buffer.
  QByteArray buf_;
  uint32_t bufRec_ = 0;
  bool dirty_ = false;
  QMap<int, QByteArray> memoPending_;
  QSet<uint32_t> locks_;
  bool appendHeld_ = false;
};

}  // namespace korvan::dbf
