#include "settings/preuznbs.h"

#include <QFile>
#include <QRegularExpression>

#include "common/apppath.h"
#include "common/files.h"
#include "common/ini.h"
#include "settings/nbspage.h"

namespace korvan {
namespace {

const char* const kDefaultHost = "www.nbs.rs";

QString& hostSet() {
  static QString h;
  return h;
}

CurlLimits& limits() {
  static CurlLimits l{.connectSeconds = 4, .totalSeconds = 30, .stallSeconds = 30};
  return l;
}

bool allDigits(const QString& s) {
  if (s.isEmpty()) return false;
  for (const QChar c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

// The page through curl, or an error text.
bool viaCurl(const QString& address, QString* page, QString* error) {
  const QString record = GETAPPPATH() + QStringLiteral("CURLUJ.BAT");
  const QString answer = GETAPPPATH() + QStringLiteral("odg.xml");
  QStringList lines = CURL_BASE_CONFIG(QStringLiteral("=https"), limits());
  lines << QStringLiteral("fail") << CURL_CFG_LINE(QStringLiteral("url"), address)
        << CURL_CFG_LINE(QStringLiteral("output"), answer);
  QByteArray bytes;
  if (!CURL_RUN(record, lines, answer, limits()) || !READ_FILE(answer, &bytes, true) || bytes.isEmpty()) {
    *error = NBS_ERR_CURL();
    return false;
  }
  QString text = QString::fromUtf8(bytes);
  static const QRegularExpression fault(QStringLiteral("\\bfault\\b"), QRegularExpression::CaseInsensitiveOption);
  if (fault.match(text).hasMatch()) {
    *error = text;
    return false;
  }
  text.replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&lt;"), QLatin1String("<"));
  QFile::remove(record);
  QFile::remove(answer);
  *page = text;
  return true;
}

bool viaPlainHttp(const QString& address, QString* page, QString* error) {
  const HttpGetResult r =
      HTTP_GET(address, {.connectMs = limits().connectSeconds * 1000, .totalMs = limits().totalSeconds * 1000});
  if (!r.ok) {
    *error = r.error;
    return false;
  }
  *page = QString::fromUtf8(r.body);
  return true;
}

void copyForTests(const QString& number, const QString& page) {
  const QString folder = GETAPPPATH() + QStringLiteral("TMP");
  PRAVI_DIR(folder);
  QFile f(folder + u'/' + number + QStringLiteral(".html"));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(page.toUtf8());
}

}  // namespace

QString NBS_UPIT(const QString& number, bool byRegistrationNumber) {
  return QStringLiteral("/rir_pn/pn_rir.html.jsp?type=rir_results&lang=SER_CIR&konverzija=yes&") +
         (byRegistrationNumber ? QStringLiteral("matbr=") : QStringLiteral("pib=")) + number;
}

QString NBS_HOST() {
  if (!hostSet().isEmpty()) return hostSet();
  return GETPRIVATEPROFILESTRING(QStringLiteral("Config"), QStringLiteral("NBS_HOST"),
                                 QString::fromLatin1(kDefaultHost), FN_INI(QStringLiteral("aplik.ini")))
      .trimmed();
}
void NBS_SET_HOST(const QString& host) { hostSet() = host; }
CurlLimits NBS_LIMITS() { return limits(); }
void NBS_SET_LIMITS(const CurlLimits& l) { limits() = l; }

QString NBS_ERR_CIFRE() { return QString::fromUtf8("PIB sme da sadrži samo cifre!"); }
QString NBS_ERR_CURL() { return QString::fromUtf8("Greška curl.exe"); }
QString NBS_ERR_NEMA() { return QStringLiteral("Ne postoje podaci na sajtu NBS!"); }

bool PREUZMI_NBS(QString& pib, QString& name, QString& address, QString& place, QString& accounts,
                 QString& registrationNumber, bool byRegistrationNumber, QString& error, bool sorted) {
  const QString number = (byRegistrationNumber ? registrationNumber : pib).trimmed();
  name.clear();
  address.clear();
  place.clear();
  accounts.clear();
  error.clear();
  if (byRegistrationNumber) pib.clear();
  else registrationNumber.clear();
  // Only digits reach the address and the file name.
  if (!allDigits(number)) {
    error = NBS_ERR_CIFRE();
    return false;
  }
  const QString host = NBS_HOST();
  if (!CURL_HOST_OK(host, true)) {
    error = QStringLiteral("Neispravan naziv servera NBS: '") + host + u'\'';
    return false;
  }
  const QString query = NBS_UPIT(number, byRegistrationNumber);
  QString page;
  const bool got = CURL_FIND().isEmpty() ? viaPlainHttp(QStringLiteral("http://") + host + query, &page, &error)
                                         : viaCurl(QStringLiteral("https://") + host + query, &page, &error);
  if (!got) return false;
  if (ISTEST()) copyForTests(number, page);
  const NbsCompany c = NBS_CITAJ_STRANU(page, sorted);
  name = c.name;
  address = c.address;
  place = c.place;
  accounts = c.accounts;
  if (!byRegistrationNumber) registrationNumber = c.registrationNumber;
  return true;
}

}  // namespace korvan
