// Listing, reading, deleting and the user's fields of single rows.
#include "common/dbf/workarea.h"
#include "common/libdbf.h"
#include "common/msg.h"
#include "common/texthelp.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/efmdbdbf_internal.h"

namespace korvan {

using efmdb::alltrim;

QList<QVariantList> efmdbRows(const QString& ui, const std::function<bool(int)>& progress) {
  QList<QVariantList> rows;
  if (ui.isEmpty()) return rows;
  efmdb::Otvorena store;
  if (!store.ok()) return rows;
  dbf::Table& t = store.invoice();
  t.seek(INCSTR2(ui), true);  // just past the direction's last key
  t.skip(-1);
  // Fields by position: looking names up for every row costs as much as reading it.
  const int fUi = t.fieldPos("UI"), fId = t.fieldPos("INV_ID"), fBrdok = t.fieldPos("BRDOK"),
            fTipdok = t.fieldPos("TIPDOK"), fStatus = t.fieldPos("STATUS"), fKomitent = t.fieldPos("KOMITENT"),
            fIznos = t.fieldPos("IZNOS"), fDatizd = t.fieldPos("DATIZD"), fDatprom = t.fieldPos("DATPROM"),
            fDatdosp = t.fieldPos("DATDOSP"), fOdobreno = t.fieldPos("ODOBRENO"), fNacin = t.fieldPos("NACINODOBR");
  while (!t.bof() && !t.eof() && t.value(fUi).toString() == ui) {
    if (progress && !progress(rows.size() + 1)) break;
    rows.append({t.recno(), efmdb::storedId(t, fId), t.trimmedText(fBrdok), t.trimmedText(fTipdok),
                 t.trimmedText(fStatus), t.trimmedText(fKomitent), t.value(fIznos), t.value(fDatizd),
                 t.value(fDatprom), t.value(fDatdosp), QString(), t.value(fOdobreno), t.trimmedText(fNacin)});
    t.skip(-1);
  }
  store.close();
  return rows;
}

namespace {

// Reads the record, checked against the listed row when one is given.
bool uzmi(quint32 recno, const EfmdbSlog* row, qint64* id, QString* xml, QDate* issued, QString* partner) {
  efmdb::Otvorena store;
  if (!store.ok()) return false;
  dbf::Table& t = store.invoice();
  if (row) {
    if (!efmdb::naSlogu(t, row->recno, row->ui, row->id)) return false;
  } else {
    t.go(recno);
    if (t.eof()) return MSG(QString::fromUtf8("Nema sloga %1 u bazi INVOICE, osvežite pregled !").arg(recno));
  }
  if (id) *id = efmdb::storedId(t);
  if (xml) *xml = t.value("XML").toString();
  if (issued) *issued = t.value("DATIZD").toDate();
  if (partner) *partner = rtrim(t.value("KOMITENT").toString());
  store.close();
  return true;
}

}  // namespace

bool EFMDB_UZMI_IZ_BAZE(const QVariant&, quint32 recno, qint64* id, QString* xml, QDate* issued, QString* partner) {
  return uzmi(recno, nullptr, id, xml, issued, partner);
}

bool EFMDB_UZMI_IZ_BAZE(const QVariant&, const EfmdbSlog& row, qint64* id, QString* xml, QDate* issued,
                        QString* partner) {
  return uzmi(row.recno, &row, id, xml, issued, partner);
}

namespace {

// Locks the row for writing and checks it again under the lock; false after a message.
bool lockRow(dbf::Table& t, const EfmdbSlog& row) {
  if (!efmdb::naSlogu(t, row.recno, row.ui, row.id)) return false;
  if (!REC_LOCK(4)) return MSG(ERR_LOCK());
  if (efmdb::naSlogu(t, row.recno, row.ui, row.id)) return true;
  t.unlock();
  return false;
}

}  // namespace

bool EFMDB_BRISI(const QVariant&, const EfmdbSlog& row) {
  efmdb::Otvorena store;
  if (!store.ok()) return false;
  dbf::Table& t = store.invoice();
  if (!lockRow(t, row)) return false;
  t.markDeleted();
  t.flush();
  t.unlock();
  store.close();
  return true;
}


std::optional<EfmOdobrenje> EFMDB_SG_ODOBRENO(const QVariant&, const EfmdbSlog& row,
                                              const std::optional<QString>& flag, const QString& way) {
  efmdb::Otvorena store;
  if (!store.ok()) return std::nullopt;
  dbf::Table& t = store.invoice();
  if (!flag) {
    if (!efmdb::naSlogu(t, row.recno, row.ui, row.id)) return std::nullopt;
    EfmOdobrenje r{t.value("ODOBRENO").toString(), alltrim(t.value("NACINODOBR").toString())};
    store.close();
    return r;
  }
  if (!lockRow(t, row)) return std::nullopt;
  t.put("ODOBRENO", *flag);
  t.put("NACINODOBR", way);
  t.flush();
  t.unlock();
  store.close();
  return std::nullopt;
}

std::optional<QString> EFMDB_SG_RAZLOG_ODBIJANJA(const QVariant&, const EfmdbSlog& row,
                                                 const std::optional<QString>& reason) {
  efmdb::Otvorena store;
  if (!store.ok()) return std::nullopt;
  dbf::Table& t = store.invoice();
  if (!reason) {
    if (!efmdb::naSlogu(t, row.recno, row.ui, row.id)) return std::nullopt;
    const QString r = alltrim(t.value("RAZLOGODB").toString());
    store.close();
    return r;
  }
  if (!lockRow(t, row)) return std::nullopt;
  t.put("RAZLOGODB", *reason);
  t.flush();
  t.unlock();
  store.close();
  return std::nullopt;
}

}  // namespace korvan
