// Opening and closing the store, and the helpers its operations share.
#include "common/apppath.h"
#include "common/dbf/workarea.h"
#include "common/files.h"
#include "common/libdbf.h"
#include "common/msg.h"
#include "common/texthelp.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/efmdbdbf_internal.h"

namespace korvan {
namespace {

const dbf::Structure& invoiceStructure() {
  static const dbf::Structure s = {
      {"UI", 'C', 1, 0},         {"INV_ID", 'C', 20, 0},  {"BRDOK", 'C', 30, 0},    {"TIPDOK", 'C', 10, 0},
      {"STATUS", 'C', 10, 0},    {"KOMITENT", 'C', 40, 0}, {"IZNOS", 'N', 14, 2},    {"DATPROM", 'D', 8, 0},
      {"DATIZD", 'D', 8, 0},     {"DATDOSP", 'D', 8, 0},  {"XML", 'M', 10, 0},      {"ODOBRENO", 'C', 2, 0},
      {"NACINODOBR", 'C', 20, 0}, {"RAZLOGODB", 'C', 30, 0}};
  return s;
}

const dbf::Structure& falsStructure() {
  static const dbf::Structure s = {{"UI", 'C', 1, 0}, {"INV_ID", 'C', 20, 0}};
  return s;
}

bool openTable(const QString& name, const dbf::Structure& structure) {
  const QString path = GETAPPPATH() + "BAZE/" + name;
  return OTVORI(path, false, name, name, {{path, "UI+INV_ID"}}, structure);
}

}  // namespace

QString EFMDB_ID20(qint64 id) { return QString::number(id).rightJustified(20, ' '); }

bool EFMDB_OTVORI_BAZE() {
  if (dbf::isUsed(efmdb::kInvoice) && dbf::isUsed(efmdb::kFals)) return true;
  EFMDB_ZATVORI_BAZE();  // a half-open store from elsewhere
  PRAVI_DIR(FIND_FILE(GETAPPPATH() + "BAZE"));
  if (!openTable(efmdb::kInvoice, invoiceStructure())) return false;
  if (!openTable(efmdb::kFals, falsStructure())) {
    dbf::closeArea(efmdb::kInvoice);
    return false;
  }
  return true;
}

void EFMDB_ZATVORI_BAZE() {
  dbf::closeArea(efmdb::kFals);
  dbf::closeArea(efmdb::kInvoice);
}

namespace efmdb {

Otvorena::Otvorena() : previous_(dbf::currentAlias()) {
  const bool wasOpen = dbf::isUsed(kInvoice) && dbf::isUsed(kFals);
  ok_ = EFMDB_OTVORI_BAZE();
  opened_ = ok_ && !wasOpen;
}

Otvorena::~Otvorena() {
  try {
    close();
  } catch (...) {
    // Unwinding already: the first error is the one reported.
  }
}

dbf::Table& Otvorena::invoice() {
  dbf::selectArea(kInvoice);
  return dbf::current();
}

dbf::Table& Otvorena::fals() {
  dbf::selectArea(kFals);
  return dbf::current();
}

void Otvorena::close() {
  const bool opened = opened_;
  opened_ = false;
  if (opened) EFMDB_ZATVORI_BAZE();
  if (!previous_.isEmpty()) dbf::selectArea(previous_);
  previous_.clear();
}

QString key(const QString& ui, qint64 id) { return ui + EFMDB_ID20(id); }

qint64 storedId(dbf::Table& t) { return storedId(t, t.fieldPos("INV_ID")); }

qint64 storedId(dbf::Table& t, int idPos) {
  bool ok = false;
  const qint64 id = t.trimmedText(idPos).toLongLong(&ok);
  return ok ? id : 0;
}

static bool carries(dbf::Table& t, const QString& ui, qint64 id) {
  return !t.eof() && !t.deleted() && t.value("UI").toString() == ui && t.value("INV_ID").toString() == EFMDB_ID20(id);
}

Nadjen seekAndLock(dbf::Table& t, const QString& ui, qint64 id) {
  for (int tries = 0; tries < 3; ++tries) {
    if (!t.seek(key(ui, id), false, true)) return Nadjen::Ne;
    if (!REC_LOCK(4)) return Nadjen::NijeZakljucan;
    if (carries(t, ui, id)) return Nadjen::Zakljucan;
    t.unlock();  // deleted by another copy between the seek and the lock
  }
  return Nadjen::Ne;
}

Dodat appendRow(dbf::Table& t, const QString& ui, qint64 id) {
  const auto present = [&] { return t.seek(key(ui, id), false, true) && carries(t, ui, id); };
  const auto putKey = [&] {
    t.put("UI", ui);
    t.put("INV_ID", EFMDB_ID20(id));
  };
  switch (addRecordOnce(4, present, putKey)) {
    case KeyedAppend::Added: return Dodat::Da;
    case KeyedAppend::Present: return Dodat::Postoji;
    case KeyedAppend::Failed: break;
  }
  MSG(ERR_ADD());
  return Dodat::Ne;
}

bool lockOrAppend(dbf::Table& t, const QString& ui, qint64 id, bool* added) {
  if (added) *added = false;
  Nadjen found = seekAndLock(t, ui, id);
  if (found == Nadjen::Ne) {
    switch (appendRow(t, ui, id)) {
      case Dodat::Ne: return false;
      case Dodat::Da:
        if (added) *added = true;
        return true;
      case Dodat::Postoji:  // another copy appended it since the seek
        found = seekAndLock(t, ui, id);
        break;
    }
  }
  switch (found) {
    case Nadjen::Zakljucan: return true;
    case Nadjen::NijeZakljucan: return MSG(ERR_LOCK());
    case Nadjen::Ne: break;  // appended and deleted again by another copy
  }
  return MSG(ERR_ADD());
}

QString alltrim(const QString& s) {
  const QString r = rtrim(s);
  qsizetype i = 0;
  while (i < r.size() && r[i] == u' ') ++i;
  return r.mid(i);
}

QString stored(const QString& text, int width) {
  return rtrim(dbf::decodeText(dbf::fitBytes(text.toUtf8(), width)));
}

void amountDoesNotFit(double amount, qint64 id) {
  MSG(QString::fromUtf8("Iznos %1 e-fakture %2 ne staje u polje IZNOS, iznos nije upisan !")
          .arg(amount, 0, 'f', 2)
          .arg(id));
}

bool naSlogu(dbf::Table& t, quint32 recno, const QString& ui, qint64 id) {
  t.go(recno);
  if (carries(t, ui, id)) return true;
  return MSG(QString::fromUtf8("Stavka je u međuvremenu promenjena ili obrisana, osvežite pregled !"));
}

}  // namespace efmdb
}  // namespace korvan
