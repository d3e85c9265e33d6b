// Record helpers: temporary tables, scatter and gather, copying by field
// name, orders, deleting and moving.
#include "common/apppath.h"
#include "common/dbf/dbferror.h"
#include "common/dbf/fileio.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "common/files.h"
#include "common/libdbf.h"
#include "common/libdbf_internal.h"
#include "common/msg.h"

#include <QDir>
#include <QFile>

namespace korvan {
namespace {

dbf::Table& areaOrFail(const QString& alias, const char* operation) {
  dbf::Table* t = dbf::area(alias);
  if (!t) dbf::fail(dbf::EG_NOALIAS, dbf::SC_ALIAS, "Alias " + alias + " nije otvoren", {}, operation);
  return *t;
}

}  // namespace

QString CREATE_TMP(const dbf::Structure& structure, const QString& alias) {
  const QString folder = FIND_FILE(GETAPPPATH() + "TMP");
  QDir().mkpath(folder);
  const QString previous = dbf::currentAlias();
  for (int i = 0; i < 1000; ++i) {
    const QString base = folder + "/TEMP" + QString::number(i).rightJustified(3, '0');
    if (dbf::existsIgnoringCase(base + ".DBF")) continue;
    libdbf::removeAnyCase(base + ".FPT");
    libdbf::removeAnyCase(base + ".CDX");
    const bool ok = OTVORI(base, true, "Temporary", alias, {}, structure);
    if (!previous.isEmpty()) dbf::selectArea(previous);
    return ok ? base : QString();
  }
  MSG("Nema slobodnog imena za privremenu tabelu u " + folder + " !");
  return {};
}

void CLOSE_TMP(const QString& path, const QString& alias, bool keep) {
  dbf::closeArea(alias);
  if (ISTEST() || keep) return;
  const QString base = libdbf::tableBase(path);
  for (const char* ext : {".DBF", ".CDX", ".FPT"}) libdbf::removeAnyCase(base + ext);
}

void CREATE_NTX(const QString& key, const QString& indexFile, const QString& alias) {
  const QString previous = dbf::currentAlias();
  areaOrFail(alias, "index").buildTag(libdbf::tagList({{indexFile, key}}).first().first, key);
  if (!previous.isEmpty()) dbf::selectArea(previous);
}

QVariantList SCATTER() {
  dbf::Table& t = dbf::current();
  QVariantList values;
  for (int i = 1; i <= t.fieldCount(); ++i) values << t.value(i);
  return values;
}

void GATHER(const QVariantList& values) {
  dbf::Table& t = dbf::current();
  for (int i = 1; i <= t.fieldCount() && i <= values.size(); ++i) t.put(i, values[i - 1]);
}

bool IZ_U(const QString& sourceAlias, const QString& targetAlias) {
  dbf::Table& from = areaOrFail(sourceAlias, "copy");
  dbf::Table& to = areaOrFail(targetAlias, "copy");
  for (int i = 1; i <= to.fieldCount(); ++i)
    if (const int j = from.fieldPos(to.fieldName(i))) to.put(i, from.value(j));
  return false;
}

int ORDSETFOC2(int order) {
  dbf::Table& t = dbf::current();
  const int previous = t.order();
  t.setOrder(order);
  return previous;
}

bool DELETE_SKIP(const std::function<bool()>& condition, const QVariant& key) {
  dbf::Table& t = dbf::current();
  const auto meets = [&] { return !condition || condition(); };
  const uint32_t rec = t.recno();
  t.markDeleted();
  for (t.skip(1); !t.eof(); t.skip(1))
    if (meets()) return false;
  t.go(rec);
  for (t.skip(-1); !t.bof(); t.skip(-1))
    if (meets()) return false;
  if (key.isValid()) t.seek(key.toString());
  else t.top();
  return true;
}

int SKOCI(int n, const std::function<bool()>& condition) {
  dbf::Table& t = dbf::current();
  const int dir = n < 0 ? -1 : 1;
  if (t.deleted()) t.skip(-1);
  int moved = 0;
  while (moved < std::abs(n)) {
    t.skip(dir);
    if (t.bof()) {
      t.top();
      break;
    }
    if (t.eof() || !condition()) {
      t.skip(-dir);
      break;
    }
    ++moved;
  }
  return moved;
}

}  // namespace korvan
