// Recording a sent invoice from its status answer.
#include "common/dbf/dbferror.h"
#include "common/files.h"
#include "common/msg.h"
#include "common/texthelp.h"
#include "einvoice/efm_status.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/efmdbdbf_internal.h"
#include "einvoice/libefman.h"
#include "einvoice/myeracun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace korvan {
namespace {

QString answerError(const QString& what) { return QString::fromUtf8("Greška pri obradi odgovora servera: ") + what; }

// InvoiceId as a whole positive number (a JSON number or a text of digits); 0 otherwise.
qint64 invoiceId(const QJsonValue& v) {
  if (v.isDouble()) {
    const double d = v.toDouble();
    return d >= 1 && d < 9.0e15 && std::floor(d) == d ? qint64(d) : 0;
  }
  if (v.isString()) {
    const QString s = v.toString().trimmed();
    bool ok = !s.isEmpty();
    for (QChar c : s) ok = ok && c.isDigit() && c.unicode() < 128;
    const qint64 id = ok ? s.toLongLong(&ok) : 0;
    return ok && id > 0 ? id : 0;
  }
  return 0;
}

}  // namespace

void EFMDB_OK_ODGOVOR_U_BAZU(const QVariant&, const QString& xmlPath, const QString& answer,
                             const MyERACUN& record) {
  QJsonParseError err;
  const QJsonDocument doc = QJsonDocument::fromJson(answer.toUtf8(), &err);
  if (err.error != QJsonParseError::NoError || doc.isNull()) {
    MSG(answerError("Odgovor nije JSON fajl!"));
    return;
  }
  const QJsonObject o = doc.object();
  for (const char* tag : {"InvoiceId", "Status"})
    if (!o.contains(QLatin1String(tag))) {
      MSG(answerError(QString("Ne postoji tag '%1'!").arg(tag)) + efm::serverSaid(answer.toUtf8(), true));
      return;
    }
  const qint64 id = invoiceId(o.value("InvoiceId"));
  if (id <= 0) {
    MSG(answerError("Neispravan tag 'InvoiceId'!"));
    return;
  }
  if (!o.value("Status").isString()) {
    MSG(answerError("Neispravan tag 'Status'!"));
    return;
  }
  const QString status = EFM_PREVEDI_STATUS(o.value("Status").toString());
  QByteArray xml;
  READ_FILE(xmlPath, &xml);  // a missing document is reported; the row is still recorded

  efmdb::Otvorena store;
  if (!store.ok()) return;
  dbf::Table& t = store.invoice();
  const QString ui = QString::fromLatin1(EFM_IZLAZNI);
  if (!efmdb::lockOrAppend(t, ui, id)) return;
  t.put("BRDOK", record.cBRDOK);
  // "Unknown" (also what a send whose status call failed records) does not
  // replace a status the row already holds.
  if (status != QLatin1String("Unknown") || rtrim(t.value("STATUS").toString()).isEmpty())
    t.put("STATUS", status);
  t.put("KOMITENT", record.cKOMIT_NAZIV);
  try {
    t.put("IZNOS", record.WZA_UPLATU);
  } catch (const dbf::DbfError&) {
    efmdb::amountDoesNotFit(record.WZA_UPLATU, id);
  }
  t.put("DATPROM", record.dDATUM_PROMETA);
  t.put("DATIZD", record.dDATUM_IZDAVANJA);
  t.put("DATDOSP", record.dVALUTA_PLACANJA);
  t.put("XML", QString::fromUtf8(xml));
  store.close();
}

}  // namespace korvan
