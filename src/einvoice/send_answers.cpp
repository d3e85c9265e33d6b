#include "einvoice/send_answers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

#include "common/dates.h"
#include "common/files.h"
#include "common/msg.h"

namespace korvan::salji {
namespace {

const QString kNotSent = QStringLiteral("Fajl NIJE POSLAT!");

}  // namespace

QString serverText(const QJsonValue& doc, const QByteArray& answer) {
  const QJsonObject o = doc.toObject();
  if (o.contains(QStringLiteral("Message"))) return jsonText(o.value(QStringLiteral("Message")));
  if (o.contains(QStringLiteral("ErrorCode"))) return jsonText(o.value(QStringLiteral("ErrorCode")));
  return QString::fromUtf8(answer).trimmed();
}

QString requestId(const QDateTime& when) {
  return when.toString(QStringLiteral("yyyyMMddhhmmss"));
}

EfmCall uploadCall(const QString& requestId, bool sendToCir, const QString& xmlPath) {
  // The form value holds the path in quotes, so ";" and "," in folder or
  // file names stay part of the name.
  QString quoted = xmlPath;
  quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
  EfmCall c;
  c.method = QStringLiteral("POST");
  c.path = QStringLiteral("sales-invoice/ubl/upload?requestId=") + requestId +
           QStringLiteral("&sendToCir=") + (sendToCir ? QStringLiteral("Yes") : QStringLiteral("No"));
  EFM_ADD_OPTION(c, QStringLiteral("header"), QStringLiteral("Content-Type: multipart/form-data"));
  EFM_ADD_OPTION(c, QStringLiteral("form"), QStringLiteral("ublFile=@\"") + quoted + QStringLiteral("\";type=text/xml"));
  c.answerFile = QStringLiteral("odg_send.xml");
  return c;
}

EfmCall statusCall(const QString& invoiceId) {
  EfmCall c;
  c.method = QStringLiteral("GET");
  c.path = QStringLiteral("sales-invoice?invoiceId=") + invoiceId;
  c.answerFile = QStringLiteral("odg_status.xml");
  return c;
}

QString jsonText(const QJsonValue& v) {
  if (v.isString()) return v.toString();
  if (v.isDouble()) return QString::number(v.toDouble(), 'g', 17);
  if (v.isBool()) return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
  if (v.isNull()) return QStringLiteral("null");
  if (v.isObject()) return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
  if (v.isArray()) return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
  return QString();
}

QString jsonId(const QJsonValue& v) {
  if (v.isString()) {
    // Written again as a plain number: "0012" would make invalid JSON in the
    // recorded answer, and a text past the 64-bit range names no invoice.
    bool ok = false;
    const qint64 n = v.toString().toLongLong(&ok);
    return EFM_JE_ID(v.toString()) && ok ? QString::number(n) : QString();
  }
  if (!v.isDouble()) return QString();
  const double d = v.toDouble();
  if (!(d >= 0) || d > 9.007199254740992e15 || std::floor(d) != d) return QString();
  return QString::number(static_cast<qint64>(d));
}

UploadVerdict classifyUpload(const QByteArray& answer) {
  UploadVerdict v;
  const auto doc = EFM_JSON_DECODE(answer);
  if (!doc) {
    v.message = EFM_ERR_NIJE_JSON() + u'\n' + kNotSent;
    return v;
  }
  v.kind = UploadVerdict::ServerError;
  const QJsonObject o = doc->toObject();
  if (doc->isObject() && o.contains(QStringLiteral("SalesInvoiceId"))) {
    v.invoiceId = jsonId(o.value(QStringLiteral("SalesInvoiceId")));
    if (!v.invoiceId.isEmpty()) {
      v.kind = UploadVerdict::Registered;
      return v;
    }
  }
  // An error object, anything else that names no invoice, or an id that is
  // not a whole number: the invoice counts as not sent.
  v.message = QString::fromUtf8("Server je vratio grešku!\n") + serverText(*doc, answer) + u'\n' + kNotSent;
  return v;
}

StatusVerdict classifyStatus(const QByteArray& answer) {
  StatusVerdict v;
  const auto doc = EFM_JSON_DECODE(answer);
  if (!doc) return v;
  const QJsonObject o = doc->toObject();
  if (!doc->isObject() || o.contains(QStringLiteral("ErrorCode"))) {
    v.kind = StatusVerdict::ServerError;
    v.serverText = serverText(*doc, answer);
    return v;
  }
  v.kind = StatusVerdict::Good;
  v.recordable = !jsonId(o.value(QStringLiteral("InvoiceId"))).isEmpty() &&
                 o.value(QStringLiteral("Status")).isString() &&
                 !o.value(QStringLiteral("Status")).toString().isEmpty();
  return v;
}

QString unknownStatusAnswer(const QString& invoiceId) {
  return QStringLiteral("{\"InvoiceId\": ") + invoiceId + QStringLiteral(", \"Status\": \"Unknown\"}");
}

QByteArray rewriteIssueDate(const QByteArray& document, const QDate& oldDate, const QDate& newDate) {
  const QByteArray from = DTOCMYS(oldDate).toLatin1();
  const QByteArray to = DTOCMYS(newDate).toLatin1();
  QByteArray out;
  out.reserve(document.size());
  qsizetype pos = 0;
  while (pos < document.size()) {
    qsizetype end = document.indexOf('\n', pos);
    end = end < 0 ? document.size() : end + 1;
    QByteArray line = document.mid(pos, end - pos);
    if (line.contains("<cbc:IssueDate>")) line.replace(from, to);
    out += line;
    pos = end;
  }
  return out;
}

bool changeIssueDate(const QString& path, const QDate& oldDate, const QDate& newDate) {
  QByteArray doc;
  if (!READ_FILE(path, &doc)) return false;
  const QByteArray changed = rewriteIssueDate(doc, oldDate, newDate);
  // The old date is not on an issue-date line: sending would go out with a
  // date the user has just refused.
  if (changed == doc) return false;
  return WRITE_MEMO_BYTES(path, changed);
}

}  // namespace korvan::salji
