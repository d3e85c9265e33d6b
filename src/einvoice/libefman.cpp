#include "einvoice/libefman.h"

#include <QJsonDocument>
#include <QJsonObject>

#include "common/dates.h"
#include "common/msg.h"
#include "einvoice/efm_status.h"
#include "einvoice/send_answers.h"

namespace korvan {
namespace efm {
namespace {

QString idText(qint64 id) { return id < 0 ? QString() : QString::number(id); }

EfmCall jsonPost(const QString& path, const QByteArray& body) {
  EfmCall c;
  c.method = QStringLiteral("POST");
  c.path = path;
  EFM_ADD_OPTION(c, QStringLiteral("header"), QStringLiteral("Content-Type: application/json"));
  EFM_ADD_OPTION(c, QStringLiteral("data-raw"), QString::fromUtf8(body));
  c.answerFile = QStringLiteral("odg_send.xml");
  return c;
}

}  // namespace

QString pathWord(const QString& direction) {
  return direction == QStringLiteral("I") ? QStringLiteral("sales") : QStringLiteral("purchase");
}

EfmCall statusCall(const QString& direction, qint64 id) {
  EfmCall c;
  c.method = QStringLiteral("GET");
  if (id >= 0) c.path = pathWord(direction) + QStringLiteral("-invoice?invoiceId=") + idText(id);
  c.answerFile = QStringLiteral("odg_status.xml");
  return c;
}

EfmCall documentCall(const QString& direction, qint64 id) {
  EfmCall c;
  c.method = QStringLiteral("GET");
  if (id >= 0) c.path = pathWord(direction) + QStringLiteral("-invoice/xml?invoiceId=") + idText(id);
  c.accept = QStringLiteral("*/*");
  c.answerFile = QStringLiteral("odg_get.xml");
  return c;
}

QByteArray cancelBody(bool reverse, qint64 id, const QString& reason) {
  return (QStringLiteral("{\"invoiceId\": ") + idText(id) +
          (reverse ? QStringLiteral(", \"stornoComment\": ") : QStringLiteral(", \"cancelComments\": ")) +
          EFM_JSON_STR(reason) + u'}')
      .toUtf8();
}

QByteArray acceptRejectBody(bool accept, qint64 id, const QString& comment) {
  return (QStringLiteral("{\"invoiceId\": ") + idText(id) + QStringLiteral(", \"accepted\": ") +
          (accept ? QStringLiteral("true") : QStringLiteral("false")) + QStringLiteral(", \"comment\": ") +
          EFM_JSON_STR(comment) + u'}')
      .toUtf8();
}

EfmCall cancelCall(bool reverse, qint64 id, const QString& reason) {
  EfmCall c = jsonPost(QStringLiteral("sales-invoice/") + (reverse ? QStringLiteral("storno") : QStringLiteral("cancel")),
                       cancelBody(reverse, id, reason));
  if (id < 0) c.path.clear();
  return c;
}

EfmCall acceptRejectCall(bool accept, qint64 id, const QString& comment) {
  EfmCall c = jsonPost(QStringLiteral("purchase-invoice/acceptRejectPurchaseInvoice"),
                       acceptRejectBody(accept, id, comment));
  if (id < 0) c.path.clear();
  return c;
}

EfmCall idsCall(const QString& direction) {
  EfmCall c;
  c.method = QStringLiteral("POST");
  c.path = pathWord(direction) + QStringLiteral("-invoice/ids");
  EFM_ADD_OPTION(c, QStringLiteral("data-raw"), QString());
  c.answerFile = QStringLiteral("odg_send.xml");
  return c;
}

EfmCall changesCall(const QString& direction, const QDate& day) {
  EfmCall c = idsCall(direction);
  c.path = pathWord(direction) + QStringLiteral("-invoice/changes?date=") + DTOCMYS(day);
  if (!day.isValid()) c.path.clear();
  return c;
}

StatusAnswer readStatus(const QByteArray& answer) {
  StatusAnswer s;
  const auto d = EFM_JSON_DECODE(answer);
  if (!d) return s;
  const QJsonValue v = d->toObject().value(QStringLiteral("Status"));
  if (!d->isObject() || !v.isString()) {
    s.kind = StatusAnswer::NoStatus;
    s.server = salji::serverText(*d, answer);
    return s;
  }
  s.kind = StatusAnswer::Found;
  s.word = v.toString();
  return s;
}

QString serverSaid(const QByteArray& answer, bool errorOnly) {
  const auto d = EFM_JSON_DECODE(answer);
  if (!d) return QString();
  const QJsonObject o = d->toObject();
  if (errorOnly && !o.contains(QStringLiteral("Message")) && !o.contains(QStringLiteral("ErrorCode"))) return QString();
  const QString said = salji::serverText(*d, answer);
  return said.isEmpty() ? QString() : QStringLiteral("\nOdgovor servera: ") + said;
}

QString cancelProblem(const QByteArray& answer) {
  const auto d = EFM_JSON_DECODE(answer);
  if (!d) return EFM_ERR_NIJE_JSON();
  if (d->isObject() && d->toObject().contains(QStringLiteral("ReceiverId"))) return QString();
  return QString::fromUtf8("Server je vratio grešu:\n") + QString::fromUtf8(answer);
}

QString acceptRejectProblem(const QByteArray& answer) {
  const auto d = EFM_JSON_DECODE(answer);
  if (!d) return EFM_ERR_NIJE_JSON();
  const QJsonValue ok = d->toObject().value(QStringLiteral("Success"));
  if (d->isObject() && ok.isBool())
    return ok.toBool() ? QString() : QStringLiteral("Nije uspelo, odgovor servera:\n") + QString::fromUtf8(answer);
  return QString::fromUtf8("Server je vratio grešu:\n") + QString::fromUtf8(answer);
}

bool run(const EfmCall& call, const EfmAccount& account, QByteArray* answer) {
  if (call.path.isEmpty()) return MSG(QStringLiteral("Neispravan Id eRačuna!"));
  if (!EFM_IZVRSI(call, account, answer)) return MSG(EFM_ERR_CURL());
  return true;
}

}  // namespace efm

bool EFM_API_KLJUC(QString& key, const QString& initialKey, const QString& message) {
  key = initialKey;
  if (key.isEmpty()) return MSG(message);
  return true;
}

QString EFM_GET_STATUS(const QString& direction, qint64 id, const EfmAccount& account) {
  QByteArray answer;
  if (!efm::run(efm::statusCall(direction, id), account, &answer)) return QString();
  const efm::StatusAnswer s = efm::readStatus(answer);
  switch (s.kind) {
    case efm::StatusAnswer::Found: return EFM_PREVEDI_STATUS(s.word);
    case efm::StatusAnswer::NoStatus:
      MSG(QString::fromUtf8("Greška pri obradi odgovora servera: Ne postoji tag 'Status'!") +
          (s.server.isEmpty() ? QString() : QStringLiteral("\nOdgovor servera: ") + s.server));
      return QString();
    case efm::StatusAnswer::NotJson: MSG(EFM_ERR_NIJE_JSON()); return QString();
  }
  return QString();
}

void EFM_OTKAZI_DOK(bool reverse, qint64 id, const QString& reason, const EfmAccount& account) {
  QByteArray answer;
  if (!efm::run(efm::cancelCall(reverse, id, reason), account, &answer)) return;
  const QString problem = efm::cancelProblem(answer);
  if (!problem.isEmpty()) MSG(problem);
}

void EFM_PRIHV_ODBIJ_DOK(bool accept, qint64 id, const QString& comment, const EfmAccount& account) {
  QByteArray answer;
  if (!efm::run(efm::acceptRejectCall(accept, id, comment), account, &answer)) return;
  const QString problem = efm::acceptRejectProblem(answer);
  if (!problem.isEmpty()) MSG(problem);
}

}  // namespace korvan
