#pragma once
// Calls on single e-invoices of the e-invoice system: status, cancel and
// storno of an outgoing invoice, accept and reject of an incoming one, and
// the two list calls of the manager (ids and changes). Direction "I" is
// outgoing (sales), any other code incoming (purchase).
#include <QByteArray>
#include <QDate>
#include <QString>

#include "einvoice/curlcall.h"

namespace korvan {

// key := initialKey; when that is empty shows message and gives false.
bool EFM_API_KLJUC(QString& key, const QString& initialKey, const QString& message);

// The translated status of the invoice, or empty text after a message.
QString EFM_GET_STATUS(const QString& direction, qint64 id, const EfmAccount& account);
// Cancels (or, with reverse, reverses) an outgoing invoice.
void EFM_OTKAZI_DOK(bool reverse, qint64 id, const QString& reason, const EfmAccount& account);
// Accepts or rejects an incoming invoice.
void EFM_PRIHV_ODBIJ_DOK(bool accept, qint64 id, const QString& comment, const EfmAccount& account);

namespace efm {

// "sales" for "I", "purchase" for any other code.
QString pathWord(const QString& direction);

// The calls, as the runner takes them. An id below zero cannot be written:
// such calls carry an empty path and are never run.
EfmCall statusCall(const QString& direction, qint64 id);
EfmCall documentCall(const QString& direction, qint64 id);
EfmCall cancelCall(bool reverse, qint64 id, const QString& reason);
EfmCall acceptRejectCall(bool accept, qint64 id, const QString& comment);
EfmCall idsCall(const QString& direction);
EfmCall changesCall(const QString& direction, const QDate& day);

// The JSON bodies (keys in this order).
QByteArray cancelBody(bool reverse, qint64 id, const QString& reason);
QByteArray acceptRejectBody(bool accept, qint64 id, const QString& comment);

// Decisions on answers.
struct StatusAnswer {
  enum Kind { Found, NoStatus, NotJson } kind = NotJson;
  QString word;  // Found: the status word as sent
  QString server;  // NoStatus: what the server said instead (its Message, else ErrorCode)
};
StatusAnswer readStatus(const QByteArray& answer);
// "\nOdgovor servera: " and what a JSON answer said (its Message, else its
// ErrorCode, else the whole answer), for the end of a message; empty when the
// answer is no JSON or, with errorOnly, names neither Message nor ErrorCode.
QString serverSaid(const QByteArray& answer, bool errorOnly = false);
// Cancel/storno: empty when good, else the text of the message to show.
QString cancelProblem(const QByteArray& answer);
QString acceptRejectProblem(const QByteArray& answer);

// Runs a call; false after "Greška pri pozivanju 'curl.exe'!" when it did not run.
bool run(const EfmCall& call, const EfmAccount& account, QByteArray* answer);

}  // namespace efm
}  // namespace korvan
