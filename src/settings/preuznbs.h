#pragma once
// The National Bank of Serbia's register of accounts: a company looked up by
// its tax number (PIB) or registration number. The page comes through curl
// when curl exists (program folder first, then the PATH), else through a
// plain HTTP GET; then it is read by NBS_CITAJ_STRANU. Shows nothing: every
// failure is an error text for the caller's box.
#include <QString>

#include "common/curl.h"
#include "settings/httpget.h"

namespace korvan {

// "/rir_pn/pn_rir.html.jsp?type=rir_results&lang=SER_CIR&konverzija=yes&"
// followed by "pib=" or "matbr=" and the number as given.
QString NBS_UPIT(const QString& number, bool byRegistrationNumber);

// The register's host: the one set by NBS_SET_HOST, else key NBS_HOST of
// section Config of aplik.ini, else "www.nbs.rs". A host name with an
// optional ":port"; anything else is refused when a lookup is made.
QString NBS_HOST();
void NBS_SET_HOST(const QString& host);  // empty: back to aplik.ini / default

// Limits of a lookup: connect 4 s, whole call 30 s, for curl and the plain
// client alike. Tests lower them.
CurlLimits NBS_LIMITS();
void NBS_SET_LIMITS(const CurlLimits& limits);

// Error texts of a lookup.
QString NBS_ERR_CIFRE();  // "PIB sme da sadrži samo cifre!"
QString NBS_ERR_CURL();   // "Greška curl.exe"
QString NBS_ERR_NEMA();   // "Ne postoje podaci na sajtu NBS!" (for the callers)

// Looks the company up. At the start name, address, place, accounts and the
// error text are emptied, and pib as well when byRegistrationNumber, else
// registrationNumber. The number (pib, or registrationNumber when
// byRegistrationNumber), trimmed of blanks, must be all digits, else
// NBS_ERR_CIFRE and no request. true when a page came: the outputs then hold
// what it gave (possibly nothing); false with the error text otherwise.
//
// Through curl, "CURLUJ.BAT" in the program folder holds the call as curl
// config lines (certificates checked, HTTP errors failing) and the page goes
// to "odg.xml" there; a failed run or a missing or empty page is
// NBS_ERR_CURL, a page with the word "fault" (any letter case) fails with the
// page as the error text; both files stay after a failure and go after a
// success, whose page has "&gt;" and "&lt;" replaced. Without curl the page
// comes from HTTP_GET as it is. In test mode the page is also copied into
// "TMP/<number>.html" (silently skipped when that fails).
bool PREUZMI_NBS(QString& pib, QString& name, QString& address, QString& place, QString& accounts,
                 QString& registrationNumber, bool byRegistrationNumber, QString& error, bool sorted = false);

}  // namespace korvan
