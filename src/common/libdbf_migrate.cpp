// Migration of a table to a changed structure.
//
// The records are copied into "TMP/TEMP.DBF" (converting changed types) and
// the tags built there. The new table file is then written beside the table
// ("<name>.dbf.new") with its memo references pointing into the table's own
// memo file: a memo that stayed the same keeps its block and every other memo
// is appended to the file, so the old table keeps all its memos whatever
// happens. Holding the table exclusively, and the new file locked before it
// takes the table's name, the old index is moved aside, the new table file is
// renamed over the old one (the one step that switches tables) and the new
// index renamed in. A crash or a failed rename at any point leaves the old
// table or the new one, each with all its records and memos, at worst without
// its index, which the next open builds. Nothing is renamed out of TMP (it may
// lie on another file system).
#include "common/apppath.h"
#include "common/dbf/dbferror.h"
#include "common/dbf/fileio.h"
#include "common/dbf/memo.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "common/files.h"
#include "common/libdbf.h"
#include "common/libdbf_internal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace korvan::libdbf {
namespace {

// The files of a table and the names a migration uses beside it.
struct Names {
  QString dbf, fpt, cdx;           // as they exist (or would be named)
  QString dbfNew, fptNew, cdxNew;  // the new files before they take the names
  QString cdxOld;                  // the old index while the table file is swapped
  QString folder;
};

Names namesOf(const QString& base) {
  Names n;
  n.dbf = dbf::findIgnoringCase(base + ".dbf");
  const QString stem = n.dbf.left(n.dbf.size() - 4);
  const bool upper = n.dbf.endsWith(".DBF");
  n.fpt = dbf::findIgnoringCase(stem + (upper ? ".FPT" : ".fpt"));
  n.cdx = dbf::findIgnoringCase(stem + (upper ? ".CDX" : ".cdx"));
  n.dbfNew = stem + ".dbf.new";
  n.fptNew = stem + ".fpt.new";
  n.cdxNew = stem + ".cdx.new";
  n.cdxOld = stem + ".cdx.old";
  n.folder = QFileInfo(n.dbf).absolutePath();
  return n;
}

[[noreturn]] void failWrite(const QString& path, int err) {
  dbf::fail(dbf::EG_WRITE, dbf::SC_WRITE, "Greška pri upisu", path, "migrate", dbf::osCodeFromErrno(err));
}

QByteArray readWhole(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    dbf::fail(dbf::EG_READ, dbf::SC_READ, "Greška pri čitanju", path, "migrate", dbf::osCodeFromErrno(errno));
  return f.readAll();
}

void writeSynced(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) failWrite(path, errno);
  if (f.write(bytes) != bytes.size() || !f.flush() || ::fsync(f.handle()) != 0) {
    const int e = errno;
    f.close();
    QFile::remove(path);
    failWrite(path, e);
  }
}

void syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void checkStep(const QString& name) {
  if (!step(name)) failWrite(name, EIO);
}

bool renameFile(const QString& from, const QString& to, const QString& stepName) {
  if (!step(stepName)) {
    errno = EIO;
    return false;
  }
  return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void removeTemp(const QString& temp) {
  for (const char* ext : {".DBF", ".FPT", ".CDX"}) removeAnyCase(temp + ext);
}

// Exclusive use of the migration table (one migration at a time per program
// folder), held as a lock on the TMP folder.
class FolderLock {
 public:
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool tryLock(const QString& folder) {
    if (fd_ < 0) fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  }

 private:
  int fd_ = -1;
};

bool hasMemo(const dbf::Structure& s) {
  for (const dbf::FieldDef& f : s)
    if (f.type == 'M') return true;
  return false;
}

struct Run {
  QString base, alias, temp;
  dbf::Structure list;
  IndexList indexes;
  bool holding = false;  // the old table is open exclusively under alias
  bool tmpOpen = false;
  dbf::File newLock;
};

// Points the memo references of the new table file (image) into the table's
// memo file: unchanged memos keep their old blocks, the others are appended.
void placeMemos(Run& r, const Names& n, const dbf::Structure& stored, const QList<uint32_t>& oldRecs,
                QByteArray& image) {
  dbf::Table& tmp = *dbf::area("TMP");
  dbf::Table& old = *dbf::area(r.alias);
  const dbf::Header h = dbf::parseHeader(reinterpret_cast<const uint8_t*>(image.constData()), image.size(),
                                         tmp.dbfPath());
  const bool fresh = !hasMemo(stored);
  if (fresh) writeSynced(n.fptNew, dbf::newMemoFile());
  dbf::MemoFile memo;
  memo.open(fresh ? n.fptNew : n.fpt, true);
  struct Field {
    int tmpPos, oldPos;
    dbf::FieldInfo info;
  };
  QList<Field> fields;
  for (int i = 0; i < h.fields.size(); ++i) {
    const dbf::FieldInfo& f = h.fields[i];
    if (f.def.type != 'M') continue;
    const int o = old.fieldPos(f.def.name);
    fields.append({i + 1, o && old.field(o).type == 'M' ? o : 0, f});
  }
  for (uint32_t rec = 1; rec <= h.recCount; ++rec) {
    tmp.go(rec);
    const bool paired = rec - 1 < uint32_t(oldRecs.size());
    if (paired) old.go(oldRecs[int(rec - 1)]);
    for (const Field& f : fields) {
      const QByteArray text = tmp.memoBytes(f.tmpPos);
      int64_t block = 0;
      if (!text.isEmpty()) {
        if (paired && f.oldPos && old.memoBytes(f.oldPos) == text) {
          const QByteArray ref = old.raw(f.oldPos);
          block = dbf::memoRefBlock(reinterpret_cast<const uint8_t*>(ref.constData()), int(ref.size()));
        }
        if (block <= 0) block = memo.write(0, text);
      }
      const QByteArray ref = dbf::memoRefBytes(uint32_t(block), f.info.def.len);
      const qsizetype at = qsizetype(h.headerLen) + qsizetype(rec - 1) * h.recordLen + f.info.offset;
      image.replace(at, ref.size(), ref);
    }
  }
  memo.file().sync();
  memo.close();
}

Migration body(Run& r, const QString& failText, QString* why) {
  if (!NET_USE2(r.base, true, 3, r.alias, false)) {
    // Somebody has the table open: perhaps a copy that has just migrated it.
    bool done = false;
    if (NET_USE2(r.base, false, 1, r.alias, true)) {
      done = !mustMigrate(r.list, dbf::area(r.alias)->structure());
      dbf::closeArea(r.alias);
    }
    if (done) return Migration::NotNeeded;
    *why = failText;
    return Migration::Failed;
  }
  r.holding = true;
  dbf::Table& old = *dbf::area(r.alias);
  const dbf::Structure stored = old.structure();
  if (!mustMigrate(r.list, stored)) return Migration::NotNeeded;
  removeLeftovers(r.base);

  dbf::Table::create(r.temp + ".DBF", r.list, true);
  if (!dbf::useArea(r.temp, "TMP", true)) {
    *why = failText;
    return Migration::Failed;
  }
  r.tmpOpen = true;
  dbf::Table& tmp = *dbf::area("TMP");
  QList<uint32_t> oldRecs;
  old.setOrder(0);
  for (old.top(); !old.eof(); old.skip()) oldRecs << old.recno();
  if (PROVERI_TIPOVE(r.list, stored)) APENDUJ_RAZL_TIP(r.base, true, r.alias, r.list, stored);
  else tmp.appendFrom(old);
  if (!r.indexes.isEmpty()) tmp.rebuildIndex(tagList(r.indexes));
  tmp.commit();
  checkStep("temp");

  const Names n = namesOf(r.base);
  QByteArray image = readWhole(tmp.dbfPath());
  if (hasMemo(r.list)) placeMemos(r, n, stored, oldRecs, image);
  writeSynced(n.dbfNew, image);
  if (!r.indexes.isEmpty()) writeSynced(n.cdxNew, readWhole(dbf::findIgnoringCase(r.temp + ".CDX")));
  dbf::closeArea("TMP");
  r.tmpOpen = false;
  removeTemp(r.temp);
  checkStep("staged");

  // Whoever opens the table from the moment the new file has its name meets this lock.
  int err = 0;
  if (!r.newLock.open(n.dbfNew, true, &err) || !r.newLock.tryLock(dbf::kLockPresence, true)) failWrite(n.dbfNew, err);
  const bool freshMemo = hasMemo(r.list) && !hasMemo(stored);
  if (freshMemo && !renameFile(n.fptNew, n.fpt, "memo-file")) failWrite(n.fpt, errno);
  const bool aside = QFileInfo::exists(n.cdx);
  if (aside && !renameFile(n.cdx, n.cdxOld, "index-aside")) failWrite(n.cdx, errno);
  if (!renameFile(n.dbfNew, n.dbf, "table")) {
    const int e = errno;
    if (aside) ::rename(QFile::encodeName(n.cdxOld).constData(), QFile::encodeName(n.cdx).constData());
    syncFolder(n.folder);
    failWrite(n.dbf, e);
  }
  syncFolder(n.folder);
  // From here on the new table is in place; an index that cannot be renamed
  // in is built again by the open that follows.
  if (!r.indexes.isEmpty()) renameFile(n.cdxNew, n.cdx, "index");
  QFile::remove(n.cdxOld);
  if (!hasMemo(r.list) && hasMemo(stored)) QFile::remove(n.fpt);
  syncFolder(n.folder);
  step("swapped");
  return Migration::Done;
}

}  // namespace

void removeLeftovers(const QString& base) {
  const Names n = namesOf(base);
  for (const QString& p : {n.dbfNew, n.fptNew, n.cdxNew, n.cdxOld}) QFile::remove(p);
}

Migration migrate(const QString& base, const QString& shownPath, const QString& alias,
                  const dbf::Structure& list, const IndexList& indexes, QString* why) {
  const QString failText = "NEMOZE SE AZURIRATI STRUKTURA BAZE " + shownPath;
  const QString tmpFolder = FIND_FILE(GETAPPPATH() + "TMP");
  QDir().mkpath(tmpFolder);
  FolderLock guard;
  for (int tries = 3; !guard.tryLock(tmpFolder);) {
    wait(1.0);
    if (--tries <= 0) {
      *why = failText;
      return Migration::Failed;
    }
  }
  Run r;
  r.base = base;
  r.alias = alias;
  r.temp = tmpFolder + "/TEMP";
  r.list = list;
  r.indexes = indexes;
  // Files of an earlier migration that did not finish are never used.
  removeTemp(r.temp);
  Migration result = Migration::Failed;
  try {
    result = body(r, failText, why);
  } catch (const dbf::DbfError& e) {
    *why = failText + "\r\n" + QString::fromUtf8(e.what());
    result = Migration::Failed;
  }
  try {
    if (r.tmpOpen) dbf::closeArea("TMP");
  } catch (const dbf::DbfError&) {
  }
  removeTemp(r.temp);
  if (r.holding) removeLeftovers(base);
  r.newLock.close();
  try {
    if (r.holding && dbf::isUsed(alias)) dbf::closeArea(alias);
  } catch (const dbf::DbfError&) {
  }
  return result;
}

}  // namespace korvan::libdbf
