#include "einvoice/curlcall.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/apppath.h"
#include "common/curl.h"
#include "common/files.h"
#include "common/ini.h"
#include "common/msg.h"

namespace korvan {
namespace {

const char* const kDefaultHost = "efaktura.mfin.gov.rs";

// Set by EFM_SET_HOST; empty: the host of aplik.ini, else the default.
QString& host() {
  static QString h;
  return h;
}

EfmLimits& limits() {
  static EfmLimits l;
  return l;
}

}  // namespace

QString EFM_HOST() {
  if (!host().isEmpty()) return host();
  return GETPRIVATEPROFILESTRING(QStringLiteral("Config"), QStringLiteral("EFAKTURA_HOST"),
                                 QString::fromLatin1(kDefaultHost), FN_INI(QStringLiteral("aplik.ini")))
      .trimmed();
}
void EFM_SET_HOST(const QString& h) { host() = h; }
EfmLimits EFM_LIMITS() { return limits(); }
void EFM_SET_LIMITS(const EfmLimits& l) { limits() = l; }

QString EFM_URL(const EfmAccount& account, const QString& path) {
  return QStringLiteral("https://") + (account.testMode ? QStringLiteral("demo") : QString()) + account.host +
         QStringLiteral("/api/publicApi/") + path;
}

QString EFM_CFG_QUOTE(const QString& value, bool* ok) { return CURL_CFG_QUOTE(value, ok); }
QString EFM_CFG_LINE(const QString& name, const QString& value, bool* ok) { return CURL_CFG_LINE(name, value, ok); }
QString EFM_TMP(const QString& name) { return TMP_FN(name); }
QString EFM_CURL_PROGRAM() { return CURL_PROGRAM(); }

void EFM_ADD_OPTION(EfmCall& call, const QString& name, const QString& value) {
  bool ok = true;
  call.options << EFM_CFG_LINE(name, value, &ok);
  call.writable = call.writable && ok;
}

QStringList EFM_CURL_CONFIG(const EfmCall& call, const EfmAccount& account, bool* ok) {
  bool good = call.writable;
  auto line = [&good](const QString& name, const QString& value) {
    bool k = true;
    const QString l = EFM_CFG_LINE(name, value, &k);
    good = good && k;
    return l;
  };
  QStringList lines;
  lines << CURL_BASE_CONFIG(QStringLiteral("=https"), limits());
  lines << line(QStringLiteral("request"), call.method);
  lines << line(QStringLiteral("url"), EFM_URL(account, call.path));
  lines << line(QStringLiteral("header"), QStringLiteral("accept: ") + call.accept);
  lines << line(QStringLiteral("header"), QStringLiteral("ApiKey: ") + account.apiKey);
  for (const QString& o : call.options) {
    if (o.contains(u'\r') || o.contains(u'\n')) good = false;
    lines << o;
  }
  lines << line(QStringLiteral("output"), EFM_TMP(call.answerFile));
  if (ok) *ok = good;
  return good ? lines : QStringList();
}

QString EFM_ERR_CURL() { return CURL_ERR(); }
QString EFM_ERR_NEUPISIVO() {
  return QString::fromUtf8(
      "Vrednost poziva servera eFaktura ne može da se prosledi programu curl (sadrži prelom reda)!");
}
QString EFM_ERR_NIJE_JSON() {
  return QString::fromUtf8("Greška pri obradi odgovora servera: Odgovor nije JSON fajl!");
}

QString EFM_ERR_SLANJE(const CurlExit& exit) {
  if (CURL_FAILURE(exit) == CurlFailure::AnswerLost)
    return QString::fromUtf8(
        "Odgovor servera nije stigao: veza je prekinuta ili je isteklo vreme čekanja, a fajl je već poslat!\n"
        "Fajl je možda primljen i registrovan. Proverite njegov status pre ponovnog slanja!");
  return EFM_ERR_CURL() + QStringLiteral("\nFajl NIJE POSLAT!");
}

bool EFM_IZVRSI(const EfmCall& call, const EfmAccount& account, QByteArray* answer, CurlExit* exit) {
  if (!CURL_HOST_OK(account.host))
    return MSG(QStringLiteral("Neispravan naziv servera eFaktura: '") + account.host + u'\'');
  bool ok = true;
  const QStringList lines = EFM_CURL_CONFIG(call, account, &ok);
  if (!ok) return MSG(EFM_ERR_NEUPISIVO());
  if (!CURL_RUN(EFM_TMP(QStringLiteral("CURLUJ.BAT")), lines, EFM_TMP(call.answerFile), limits(), exit))
    return false;
  if (answer) READ_FILE(EFM_TMP(call.answerFile), answer, true);
  return true;
}

bool EFM_JE_ID(const QString& text) {
  if (text.isEmpty() || text.size() > 19) return false;
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return false;
  return true;
}

std::optional<QJsonValue> EFM_JSON_DECODE(const QByteArray& answer) {
  QJsonParseError err{};
  const QJsonDocument d = QJsonDocument::fromJson(answer, &err);
  if (err.error == QJsonParseError::NoError) return d.isObject() ? QJsonValue(d.object()) : QJsonValue(d.array());
  // A bare value: read it as the one element of a list.
  if (answer.trimmed().isEmpty()) return std::nullopt;
  const QJsonDocument wrapped = QJsonDocument::fromJson("[" + answer + "]", &err);
  if (err.error != QJsonParseError::NoError || wrapped.array().size() != 1) return std::nullopt;
  return wrapped.array().at(0);
}

QString EFM_JSON_STR(const QString& text) {
  QString out = QStringLiteral("\"");
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '"': out += QStringLiteral("\\\""); break;
      case '\\': out += QStringLiteral("\\\\"); break;
      case '\b': out += QStringLiteral("\\b"); break;
      case '\f': out += QStringLiteral("\\f"); break;
      case '\n': out += QStringLiteral("\\n"); break;
      case '\r': out += QStringLiteral("\\r"); break;
      case '\t': out += QStringLiteral("\\t"); break;
      default:
        if (c.unicode() < 0x20) out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else out += c;
    }
  }
  out += u'"';
  return out;
}

}  // namespace korvan
