#include "windows/korvanman_model.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

#include "common/dates.h"
#include "common/letters.h"
#include "einvoice/curlcall.h"

namespace korvan::kman {
namespace {

QString serverError(const QString& what) {
  return QString::fromUtf8("Greška pri obradi odgovora servera: ") + what;
}
QString missingKey(const QString& key) { return serverError(QStringLiteral("Ne postoji '") + key + QStringLiteral("'!")); }

// Only a number or a text can be an id (true is no 1).
qint64 jsonId(const QJsonValue& v) {
  if (v.isString()) return celiId(v.toString());
  if (v.isDouble()) return celiId(v.toDouble());
  return 0;
}

// A value as the answer wrote it, for messages.
QString shown(const QJsonValue& v) {
  if (v.isString()) return v.toString();
  if (v.isDouble()) return QString::number(v.toDouble(), 'g', 17);
  return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

}  // namespace

QString direction(const QString& stored) {
  return stored == QLatin1String(EFM_ULAZNI) ? QString::fromLatin1(EFM_ULAZNI) : QString::fromLatin1(EFM_IZLAZNI);
}

Boja boja(qint64 id, const EfmPromene& changes) {
  for (const auto& [changedId, mark] : changes) {
    if (changedId != id) continue;
    if (mark == EFM_DODAT) return Boja::Zuta;
    if (mark == EFM_IZMENJEN) return Boja::Losos;
    return Boja::Nema;
  }
  return Boja::Nema;
}

QString imeBoje(Boja b) {
  switch (b) {
    case Boja::Zuta: return QStringLiteral("yellow");
    case Boja::Losos: return QStringLiteral("salmon");
    case Boja::Nema: break;
  }
  return QString();
}

QStringList polja() {
  return {QStringLiteral("STATUS"), QStringLiteral("BRDOK"),   QStringLiteral("TIPDOK"), QStringLiteral("DATIZD"),
          QStringLiteral("DATPROM"), QStringLiteral("DATDOSP"), QStringLiteral("IZNOS"),  QStringLiteral("KOMITENT")};
}

Red red(const QVariantList& r, const EfmPromene& changes) {
  Red out;
  out.recno = r.value(LR_RECNO).toUInt();
  out.id = r.value(LR_ID).toLongLong();
  // Dates stay dates (an empty one a null date), so the cells show them in
  // the column's form.
  auto date = [&r](int i) { return QVariant(r.value(i).toDate()); };
  out.vrednosti = {r.value(LR_STATUS).toString(), r.value(LR_BRDOK).toString(), r.value(LR_TIPDOK).toString(),
                   date(LR_DATIZD), date(LR_DATPROM), date(LR_DATDOSP), r.value(LR_IZNOS).toDouble(),
                   r.value(LR_KOMITENT).toString()};
  out.boja = boja(out.id, changes);
  return out;
}

qint64 celiId(const QVariant& value) {
  if (value.typeId() == QMetaType::QString) {
    const QString t = value.toString();
    return EFM_JE_ID(t) ? t.toLongLong() : 0;
  }
  bool ok = false;
  const double d = value.toDouble(&ok);
  if (!ok || !std::isfinite(d) || d < 1 || d >= 9.0e15 || std::floor(d) != d) return 0;
  return qint64(d);
}

Ids readIds(const QByteArray& answer, const QString& dir) {
  Ids out;
  const QString key = dir == QLatin1String(EFM_IZLAZNI) ? QStringLiteral("SalesInvoiceIds")
                                                        : QStringLiteral("PurchaseInvoiceIds");
  const auto d = EFM_JSON_DECODE(answer);
  if (!d) {
    out.problem = EFM_ERR_NIJE_JSON();
    return out;
  }
  const QJsonValue list = d->toObject().value(key);
  if (!d->isObject() || list.isUndefined()) {
    out.problem = missingKey(key);
    return out;
  }
  for (const QJsonValue& v : list.toArray()) {
    if (const qint64 id = jsonId(v); id > 0) out.ids << id;
    else out.skipped << shown(v);
  }
  return out;
}

Changes readChanges(const QByteArray& answer, const QString& dir, const QString& pib, const QString& key,
                    QList<Promena>& list) {
  Changes out;
  const QString name = dir == QLatin1String(EFM_IZLAZNI) ? QStringLiteral("SalesInvoiceId")
                                                         : QStringLiteral("PurchaseInvoiceId");
  const auto d = EFM_JSON_DECODE(answer);
  if (!d) {
    out.dayProblem = EFM_ERR_NIJE_JSON();
    return out;
  }
  if (!d->isArray()) {
    // An error object of the system is no list of changes: that day was not read.
    const QJsonObject o = d->toObject();
    QString said = o.value(QStringLiteral("Message")).toString();
    if (said.isEmpty()) said = o.value(QStringLiteral("ErrorCode")).toString();
    if (said.isEmpty()) said = QString::fromUtf8(answer.left(200));
    out.dayProblem = serverError(QString::fromUtf8("nije dobijena lista promena (") + said + u')');
    return out;
  }
  for (const QJsonValue& e : d->toArray()) {
    const QJsonValue v = e.toObject().value(name);
    if (!e.isObject() || v.isUndefined() || v.isNull()) {
      out.entryProblems << missingKey(name);
      continue;
    }
    if (v.isString() && v.toString().isEmpty()) continue;
    const qint64 id = jsonId(v);
    if (id <= 0) {
      out.skipped << shown(v);
      continue;
    }
    const Promena p{id, pib, key};
    bool known = false;
    for (const Promena& q : list) known = known || (q.id == p.id && q.pib == p.pib);
    if (!known) list << p;
  }
  return out;
}

QString folder(const QString& setting) {
  QString f = setting;
  f.replace(u'\\', u'/');
  if (!f.isEmpty() && !f.endsWith(u'/')) f += u'/';
  return f;
}

QString dateFolder(const QString& base, const QString& dir, const QDate& issued) {
  return base + (dir == QLatin1String(EFM_IZLAZNI) ? QStringLiteral("IZLAZNI/") : QStringLiteral("ULAZNI/")) +
         DTOCMYS(issued);
}

QString partner(const QString& stored) {
  QString name = stored;
  while (name.endsWith(u' ')) name.chop(1);
  name = QString::fromUtf8(UTF8TOCP1250(name.toUtf8(), true, true, false));
  QString out;
  out.reserve(name.size());
  for (const QChar c : name) {
    switch (c.unicode()) {
      case u'/': case u'\\': out += u'-'; break;
      case u':': case u'?': case u'*': case u'"': case u'<': case u'>': case u'|': break;
      default:
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F && c.category() != QChar::Other_Control) out += c;
    }
  }
  return out.trimmed();
}

QList<Fajl> fajlovi(qint64 id, const QString& storedPartner) {
  const QString p = partner(storedPartner);
  const QString suffix = p.isEmpty() ? QString() : u' ' + p;
  const QString base = QString::number(id);
  return {{QStringLiteral("cbc:EmbeddedDocumentBinaryObject"), base + suffix, QStringLiteral("pdf")},
          {QStringLiteral("env:DocumentPdf"), base + QStringLiteral("_generic") + suffix, QStringLiteral("pdf")},
          {QString(), base + suffix, QStringLiteral("xml")}};
}

}  // namespace korvan::kman
