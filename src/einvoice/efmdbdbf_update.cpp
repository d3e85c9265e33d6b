// Rows from downloaded headers, existence tests and the FALS list.
#include "common/dbf/dbferror.h"
#include "common/msg.h"
#include "common/texthelp.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/efmdbdbf_internal.h"

#include <cmath>

namespace korvan {
namespace {

void mark(EfmPromene& changes, qint64 id, int how) {
  for (const auto& c : changes)
    if (c.first == id) return;
  changes.append({id, how});
}

// A whole positive id from a header value; 0 otherwise.
qint64 headerId(const QVariant& v) {
  bool ok = false;
  const double d = v.toDouble(&ok);
  if (!ok || !std::isfinite(d) || d < 1 || d >= 9.0e15 || std::floor(d) != d) return 0;
  return qint64(d);
}

// Writes a text field unless it already holds the text as it would store it.
bool putText(dbf::Table& t, const char* name, const QString& value) {
  const int pos = t.fieldPos(name);
  if (rtrim(t.value(pos).toString()) == efmdb::stored(value, t.field(pos).len)) return false;
  t.put(pos, value);
  return true;
}

bool putDate(dbf::Table& t, const char* name, const QVariant& value) {
  const QDate d = value.toDate();
  const QDate old = t.value(name).toDate();
  if (old == d || (!old.isValid() && !d.isValid())) return false;
  t.put(name, d);
  return true;
}

// The amount compared as the field stores it (its decimals, rounded as written).
bool putAmount(dbf::Table& t, double amount, qint64 id) {
  const int pos = t.fieldPos("IZNOS");
  QByteArray want;
  try {
    want = dbf::encodeNumber(amount, t.field(pos), t.dbfPath());
  } catch (const dbf::DbfError&) {
    efmdb::amountDoesNotFit(amount, id);
    return false;
  }
  if (t.raw(pos) == want) return false;
  t.put(pos, amount);
  return true;
}

bool lookUp(const QString& alias, const QString& ui, qint64 id) {
  efmdb::Otvorena store;
  if (!store.ok()) return false;
  dbf::Table& t = alias == efmdb::kFals ? store.fals() : store.invoice();
  const bool found = t.seek(efmdb::key(ui, id), false, true);
  store.close();
  return found;
}

}  // namespace

bool EFMDB_POSTOJI_INVOICE(const QVariant&, const QString& ui, qint64 id, const QString&) {
  return lookUp(efmdb::kInvoice, ui, id);
}

bool EFMDB_JESTE_FALS(const QVariant&, const QString& ui, qint64 id) { return lookUp(efmdb::kFals, ui, id); }

bool EFMDB_DODAJ_IZMENI(const QVariant&, const QString& ui, const EfmZaglavlje& header, EfmPromene& changes,
                        const QString&) {
  const qint64 id = headerId(header.value(ZAG_ID));
  if (id <= 0) {
    return MSG("Neispravan id e-fakture: " + header.value(ZAG_ID).toString() + " !");
  }
  efmdb::Otvorena store;
  if (!store.ok()) return false;
  dbf::Table& t = store.invoice();
  bool added = false;
  if (!efmdb::lockOrAppend(t, ui, id, &added)) return false;
  if (added) mark(changes, id, EFM_DODAT);
  bool changed = putAmount(t, header.value(ZAG_IZNOS).toDouble(), id);
  changed |= putText(t, "BRDOK", header.value(ZAG_BRDOK).toString());
  changed |= putText(t, "KOMITENT", header.value(ZAG_KOMITENT).toString());
  changed |= putText(t, "TIPDOK", header.value(ZAG_TIPDOK).toString());
  // A status that could not be learnt keeps the one stored.
  if (!header.value(ZAG_STATUS).isNull()) changed |= putText(t, "STATUS", header.value(ZAG_STATUS).toString());
  changed |= putDate(t, "DATPROM", header.value(ZAG_DATPROM));
  changed |= putDate(t, "DATIZD", header.value(ZAG_DATIZD));
  changed |= putDate(t, "DATDOSP", header.value(ZAG_DATDOSP));
  const QString xml = header.value(ZAG_XML).toString();
  if (t.value("XML").toString() != xml) {
    t.put("XML", xml);
    changed = true;
  }
  if (changed) mark(changes, id, EFM_IZMENJEN);
  store.close();
  return true;
}

void EFMDB_PISI_FALS(const QVariant&, const QString& ui, qint64 id) {
  efmdb::Otvorena store;
  if (!store.ok()) return;
  dbf::Table& t = store.fals();
  if (!t.seek(efmdb::key(ui, id), false, true)) efmdb::appendRow(t, ui, id);
  store.close();
}

}  // namespace korvan
