#pragma once
// The send's answer decisions, without a dialog: what an upload answer and a
// status answer mean (registered, server error, not JSON; recordable or not),
// what the server said, the upload and status calls, and the issue-date
// rewrite the confirmation may ask for.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include "einvoice/curlcall.h"

namespace korvan::salji {

// 14 digits: YYYYMMDD followed by hhmmss.
QString requestId(const QDateTime& when);

EfmCall uploadCall(const QString& requestId, bool sendToCir, const QString& xmlPath);
// invoiceId must be a whole number in digits.
EfmCall statusCall(const QString& invoiceId);

// The upload answer.
struct UploadVerdict {
  enum Kind { Registered, ServerError, NotJson } kind = NotJson;
  QString invoiceId;  // Registered: the id in digits
  QString message;    // the text for the box (all its lines)
};
UploadVerdict classifyUpload(const QByteArray& answer);

// What the server said: its Message, else its ErrorCode, else the whole answer.
QString serverText(const QJsonValue& doc, const QByteArray& answer);

// The status answer.
struct StatusVerdict {
  enum Kind { Good, ServerError, NotJson } kind = NotJson;
  bool recordable = false;  // Good: it carries InvoiceId and Status
  QString serverText;       // ServerError: Message, else ErrorCode
};
StatusVerdict classifyStatus(const QByteArray& answer);

// The answer recorded for an invoice that was registered under the id but
// whose status could not be learnt.
QString unknownStatusAnswer(const QString& invoiceId);

// The document with the old issue date replaced by the new one on every line
// that holds "<cbc:IssueDate>" (lines end in LF or CR LF; endings are kept).
QByteArray rewriteIssueDate(const QByteArray& document, const QDate& oldDate, const QDate& newDate);
// Rewrites the file in place (a temporary file renamed over it); false after
// a message when it cannot be read or replaced, and false when no line holds
// the old date; the file is then unchanged.
bool changeIssueDate(const QString& path, const QDate& oldDate, const QDate& newDate);

// A JSON value as text: strings as they are, other values as compact JSON.
QString jsonText(const class QJsonValue& v);
// A JSON id (a whole non-negative number or a string of digits) in digits,
// without leading zeros; empty when it is not one.
QString jsonId(const class QJsonValue& v);

}  // namespace korvan::salji
