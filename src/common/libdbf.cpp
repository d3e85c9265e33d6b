#include "common/libdbf.h"

#include "common/dbf/dbferror.h"
#include "common/dbf/fileio.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "common/files.h"
#include "common/libdbf_internal.h"
#include "common/msg.h"
#include "common/runner.h"

#include <QDir>
#include <QFile>

namespace korvan {
namespace {

std::function<void(double)>& delayHook() {
  static std::function<void(double)> h;
  return h;
}

std::function<bool(const QString&)>& migrationHook() {
  static std::function<bool(const QString&)> h;
  return h;
}

QString locked(const QString& title, const char* where) {
  return "BAZA " + title + " JE ZAKLJUCANA !\r\n" + where;
}

// Creates a missing table; a copy that created it first is as good.
void createTable(const QString& base, const dbf::Structure& list) {
  const int slash = base.lastIndexOf('/');
  if (slash > 0) QDir().mkpath(base.left(slash));
  try {
    dbf::Table::create(base, list);
  } catch (const dbf::DbfError&) {
    if (!dbf::existsIgnoringCase(base + ".dbf")) throw;
  }
}

void setControllingOrder(const QString& alias, const IndexList& indexes) {
  dbf::Table* t = dbf::area(alias);
  if (!t || t->tagCount() == 0) return;
  const QList<QPair<QString, QString>> tags = libdbf::tagList(indexes);
  if (tags.isEmpty() || !t->setOrder(tags.first().first)) t->setOrder(1);
  t->top();
}

}  // namespace

namespace libdbf {

QString tableBase(const QString& path) {
  QString p = path;
  p.replace('\\', '/');
  if (p.endsWith(".dbf", Qt::CaseInsensitive)) p.chop(4);
  const int slash = p.lastIndexOf('/');
  if (slash <= 0) return p;
  return FIND_FILE(p.left(slash)) + p.mid(slash);
}

void removeAnyCase(const QString& path) {
  for (int i = 0; i < 8 && dbf::existsIgnoringCase(path); ++i) QFile::remove(dbf::findIgnoringCase(path));
}

void wait(double seconds) {
  if (delayHook()) delayHook()(seconds);
  else DELAY(seconds);
}

bool step(const QString& name) { return !migrationHook() || migrationHook()(name); }

bool mustMigrate(const dbf::Structure& list, const dbf::Structure& stored) {
  if (list.size() != stored.size()) return true;
  for (int i = 0; i < list.size(); ++i) {
    const dbf::FieldDef &a = list[i], &b = stored[i];
    if (!a.name.toUpper().startsWith(b.name.toUpper()) || a.type != b.type || a.len != b.len || a.dec != b.dec)
      return true;
  }
  return false;
}

QList<QPair<QString, QString>> tagList(const IndexList& indexes) {
  QList<QPair<QString, QString>> tags;
  for (const IndexDef& d : indexes) {
    QString name = d.path;
    name.replace('\\', '/');
    tags.append({name.mid(name.lastIndexOf('/') + 1).trimmed().toUpper(), d.key});
  }
  return tags;
}

}  // namespace libdbf

void setLibdbfDelay(std::function<void(double)> delay) { delayHook() = std::move(delay); }
void setMigrationHook(std::function<bool(const QString&)> hook) { migrationHook() = std::move(hook); }

bool OTVORI(const QString& path, bool exclusive, const QString& title, const QString& alias,
            const IndexList& indexes, const dbf::Structure& structure, const std::function<bool()>& confirm,
            bool silent, QString* errorText) {
  const auto report = [&](const QString& text) {
    if (dbf::isUsed(alias)) dbf::closeArea(alias);
    if (silent) {
      if (errorText) *errorText = text;
      return false;
    }
    return MSG(text);
  };
  const QString base = libdbf::tableBase(path);
  const dbf::Structure list = structure.isEmpty() ? structure : dbf::normalizeStructure(structure, base + ".dbf");

  if (!list.isEmpty() && !dbf::existsIgnoringCase(base + ".dbf")) createTable(base, list);

  if (!NET_USE2(base, exclusive, 3, alias, false)) return report(locked(title, "NET_USE"));

  bool rebuild = false;  // the index must be made again even though the file exists
  if (!list.isEmpty() && libdbf::mustMigrate(list, dbf::area(alias)->structure())) {
    dbf::closeArea(alias);
    if (confirm && !confirm()) {
      rebuild = true;
    } else {
      QString why;
      if (libdbf::migrate(base, path, alias, list, indexes, &why) == libdbf::Migration::Failed) return report(why);
      if (!NET_USE2(base, exclusive, 3, alias, false)) return report(locked(title, "CHG_STRU"));
    }
  }

  if (!indexes.isEmpty() && (rebuild || !dbf::existsIgnoringCase(base + ".cdx"))) {
    if (dbf::isUsed(alias)) dbf::closeArea(alias);
    if (NET_USE2(base, true, 3, alias, false)) {
      libdbf::removeLeftovers(base);
      dbf::area(alias)->rebuildIndex(libdbf::tagList(indexes));
      dbf::closeArea(alias);
    } else if (rebuild || !dbf::existsIgnoringCase(base + ".cdx")) {
      // (Unless another copy built the missing index meanwhile.)
      return report(locked(title, "CHG_INDEX"));
    }
  }

  if (!dbf::isUsed(alias) && !NET_USE2(base, exclusive, 3, alias, false)) return report(locked(title, "REINDEX"));
  setControllingOrder(alias, indexes);
  return true;
}

bool NET_USE2(const QString& path, bool exclusive, int tries, const QString& alias, bool readOnly,
              const QString& driver) {
  if (!driver.isEmpty() && driver.compare("CDX", Qt::CaseInsensitive) != 0)
    dbf::fail(dbf::EG_ARG, dbf::SC_ARG, "Nepoznat drajver DBF" + driver, path, "use");
  const QString base = libdbf::tableBase(path);
  for (;;) {
    if (dbf::useArea(base, alias, exclusive, readOnly) && !dbf::netErr()) return true;
    libdbf::wait(1.0);
    if (--tries <= 0) return false;
  }
}

bool DBF_MOZE_EXCLUSIVE(const QString& path) {
  QString p = path;
  p.replace('\\', '/');
  dbf::File f;
  int err = 0;
  if (!f.open(dbf::findIgnoringCase(p), true, &err)) return false;
  return f.tryLock(dbf::kLockPresence, true);  // closing f releases it
}

bool PROVERI_TIPOVE(const dbf::Structure& list, const dbf::Structure& stored) {
  for (const dbf::FieldDef& a : list)
    for (const dbf::FieldDef& b : stored)
      if (a.name.compare(b.name, Qt::CaseInsensitive) == 0 && a.type != b.type) return true;
  return false;
}

bool REC_LOCK(double seconds) {
  dbf::Table& t = dbf::current();
  for (;;) {
    if (t.lock()) return true;
    libdbf::wait(0.5);
    seconds -= 0.5;
    if (seconds <= 0) return false;
  }
}

namespace {

// The current table's append lock for one try; a lock another open holds
// sets the network-error flag, as a failed append does.
class AppendTry {
 public:
  explicit AppendTry(dbf::Table& t) : t_(t), held_(t.tryLockAppend()) {
    if (!held_) dbf::setNetErr(true);
  }
  ~AppendTry() {
    if (!held_) return;
    try {
      t_.unlockAppend();
    } catch (...) {
      // Unwinding already: the first error is the one reported.
    }
  }
  AppendTry(const AppendTry&) = delete;
  AppendTry& operator=(const AppendTry&) = delete;
  bool held() const { return held_; }
  void release() {
    held_ = false;
    t_.unlockAppend();
  }

 private:
  dbf::Table& t_;
  bool held_;
};

}  // namespace

bool ADD_REC(double seconds) {
  return addRecordOnce(seconds, [] { return false; }, [] {}) == KeyedAppend::Added;
}

KeyedAppend addRecordOnce(double seconds, const std::function<bool()>& present, const std::function<void()>& putKey) {
  dbf::Table& t = dbf::current();
  for (;;) {
    {
      AppendTry append(t);
      if (append.held()) {
        if (present()) {
          append.release();
          return KeyedAppend::Present;
        }
        if (t.appendBlank()) {
          putKey();
          append.release();  // writes the key before another copy may look
          return KeyedAppend::Added;
        }
      }
    }
    libdbf::wait(0.5);
    seconds -= 0.5;
    if (seconds <= 0) return KeyedAppend::Failed;
  }
}

}  // namespace korvan
