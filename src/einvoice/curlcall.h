#pragma once
// The one runner of e-invoice API calls, on the curl runner of common/curl.h.
// A call is written as curl config lines into "TMP/CURLUJ.BAT" (mode 0600)
// and curl is started with -K and nothing else, so neither the key nor any
// value taken from data ever stands on a command line. Certificates are
// checked; every call has a connect time-out and an overall limit.
#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <optional>

#include "common/curl.h"
#include "einvoice/account.h"

namespace korvan {

struct EfmCall {
  QString method;                     // "POST" or "GET"
  QString path;                       // after "api/publicApi/", with its query
  QString accept = QStringLiteral("text/plain");
  QStringList options;                // the call's own config lines (already quoted)
  QString answerFile;                 // file name in TMP, e.g. "odg_send.xml"
  bool writable = true;               // false: an option's value cannot be written (EFM_ADD_OPTION)
};

// Adds the config line "name = "value"" to the call's options; a value that
// cannot be written marks the call unwritable, so it is refused before any
// request instead of going out as an empty line.
void EFM_ADD_OPTION(EfmCall& call, const QString& name, const QString& value);

// The production host: the one set by EFM_SET_HOST, else key EFAKTURA_HOST
// of section Config of aplik.ini, else the system's public host. The test
// host is "demo" + that host. A host that is not a plain host name is
// refused when a call is made.
QString EFM_HOST();
void EFM_SET_HOST(const QString& host);  // empty: back to aplik.ini / default
// Limits of one call in seconds (connect, whole call).
using EfmLimits = CurlLimits;
EfmLimits EFM_LIMITS();
void EFM_SET_LIMITS(const EfmLimits& limits);

// "https://" + ("demo" in test mode) + the account's host + "/api/publicApi/" + path.
QString EFM_URL(const EfmAccount& account, const QString& path);
// A value as a double-quoted curl config string (backslash and quote escaped).
// Values holding CR, LF or NUL cannot be written: nullptr-like empty result
// with ok false.
QString EFM_CFG_QUOTE(const QString& value, bool* ok = nullptr);
// One config line "name = "value"".
QString EFM_CFG_LINE(const QString& name, const QString& value, bool* ok = nullptr);

// The config lines of a call; ok false when a value cannot be written safely
// (the call is unwritable, or the key or an option holds a line break).
QStringList EFM_CURL_CONFIG(const EfmCall& call, const EfmAccount& account, bool* ok = nullptr);
// Path of a file in the program's TMP folder.
QString EFM_TMP(const QString& name);
// The curl program: "<program folder>/CURL/curl" when executable, else "curl".
QString EFM_CURL_PROGRAM();

// The messages of a call that could not be run and of an answer that is not JSON.
QString EFM_ERR_CURL();       // "Greška pri pozivanju 'curl.exe'!"
QString EFM_ERR_NIJE_JSON();  // "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!"

// "Vrednost poziva servera eFaktura ne može da se prosledi programu curl (sadrži prelom reda)!"
QString EFM_ERR_NEUPISIVO();

// Writes the record file and runs curl; true when curl ran (exit code 0). A
// call whose values cannot be written is refused with EFM_ERR_NEUPISIVO, and
// an account whose host is not a plain host name with its own message; both
// run nothing.
// answer (when given) then gets the answer file, empty when curl wrote none;
// exit (when given) how curl ended.
bool EFM_IZVRSI(const EfmCall& call, const EfmAccount& account, QByteArray* answer = nullptr,
                CurlExit* exit = nullptr);

// The message of an upload that did not run: "not sent", or, when its answer
// was lost after the request went out, that the invoice may have arrived and
// its status must be checked before it is sent again.
QString EFM_ERR_SLANJE(const CurlExit& exit);

// A whole number written as digits (no sign, no blanks, at most 19 digits):
// the only form in which ids go into paths and bodies.
bool EFM_JE_ID(const QString& text);
// Decodes a whole answer as JSON, a bare number, text or literal included;
// nothing when it is not JSON.
std::optional<QJsonValue> EFM_JSON_DECODE(const QByteArray& answer);

// A text as a JSON string literal (quotes included).
QString EFM_JSON_STR(const QString& text);

}  // namespace korvan
