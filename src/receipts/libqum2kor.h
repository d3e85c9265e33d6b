#pragma once
// Fiscal receipts (the "qum2kor" functions): the receipt page fetched by its
// QR link and read, and the exchange folder of scanned links on the FTP
// server. These facades show their failures through MSG and answer values
// as the callers expect them; the reading itself is in receipts/qumpage.h.
#include <QDate>
#include <QList>
#include <QString>

#include "common/curl.h"
#include "receipts/qumpage.h"

namespace korvan {

// The link, trimmed, when it is one http(s) address without blanks or
// control characters; empty otherwise.
QString QUM2KOR_LINK(const QString& link);
// "Link od QR koda nije ispravna web adresa: '<link>'".
QString QUM2KOR_ERR_LINK(const QString& link);

// Limits of the page request (default: connect 10 s, whole call 30 s).
CurlLimits QUM2KOR_LIMITS();
void QUM2KOR_SET_LIMITS(const CurlLimits& limits);

// Fetches the page of the link with curl ("TMP/CURLUJ.BAT" holds the call,
// the page goes to "TMP/odg_get.dat") and reads it. The outputs are always
// set: first to their empty values (the date to today), then to what the
// page gives. Those after the eighth may be left out. The wait cursor shows
// during the request unless quiet. false after "Greška pri pozivanju
// 'curl.exe'!" when curl cannot be run or fails, and after QUM2KOR_ERR_LINK
// (nothing fetched) when the link is no plain web address; true otherwise,
// also when the page held nothing useful.
bool QUM2KOR_DEKODIRAJ(const QString& link, const QString& startMark, const QString& endMark, QString& buyerId,
                       QString& buyerJbkjs, QDate& date, double& total, QList<ReceiptItem>& items,
                       QString* line1 = nullptr, QString* line2 = nullptr, QString* number = nullptr,
                       bool quiet = false, double* taxDj = nullptr, double* taxE = nullptr, double* taxG = nullptr,
                       double* taxA = nullptr);

}  // namespace korvan
