#include "receipts/libqum2kor.h"

#include <QUrl>

#include "common/dates.h"
#include "common/files.h"
#include "common/msg.h"
#include "common/waitcursor.h"

namespace korvan {
namespace {

CurlLimits& limits() {
  static CurlLimits l{.connectSeconds = 10, .totalSeconds = 30};
  return l;
}

template <typename T>
void put(T* out, const T& value) {
  if (out) *out = value;
}

}  // namespace

QString QUM2KOR_LINK(const QString& link) {
  const QString l = link.trimmed();
  for (const QChar c : l)
    if (c.unicode() <= 0x20 || c.unicode() == 0x7F || c.isSpace() || c.category() == QChar::Other_Control ||
        c.category() == QChar::Other_Format)
      return {};
  const QUrl url(l, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() ||
      !l.startsWith(scheme + QStringLiteral("://"), Qt::CaseInsensitive))
    return {};
  return l;
}

QString QUM2KOR_ERR_LINK(const QString& link) {
  return QStringLiteral("Link od QR koda nije ispravna web adresa: '") + link.trimmed() + u'\'';
}

CurlLimits QUM2KOR_LIMITS() { return limits(); }
void QUM2KOR_SET_LIMITS(const CurlLimits& l) { limits() = l; }

bool QUM2KOR_DEKODIRAJ(const QString& link, const QString& startMark, const QString& endMark, QString& buyerId,
                       QString& buyerJbkjs, QDate& date, double& total, QList<ReceiptItem>& items, QString* line1,
                       QString* line2, QString* number, bool quiet, double* taxDj, double* taxE, double* taxG,
                       double* taxA) {
  auto deliver = [&](const ReceiptPage& p) {
    buyerId = p.buyerId;
    buyerJbkjs = p.buyerJbkjs;
    date = p.date;
    total = p.total;
    items = p.items;
    put(line1, p.line1);
    put(line2, p.line2);
    put(number, p.number);
    put(taxDj, p.taxDj);
    put(taxE, p.taxE);
    put(taxG, p.taxG);
    put(taxA, p.taxA);
  };
  ReceiptPage empty;
  empty.date = TODAY();
  deliver(empty);

  // The link reaches curl only as the url value of its config file.
  const QString url = QUM2KOR_LINK(link);
  if (url.isEmpty()) return MSG(QUM2KOR_ERR_LINK(link));
  const QString answer = TMP_FN(QStringLiteral("odg_get.dat"));
  QStringList lines = CURL_BASE_CONFIG(QStringLiteral("=http,https"), limits());
  lines << CURL_CFG_LINE(QStringLiteral("request"), QStringLiteral("GET"))
        << CURL_CFG_LINE(QStringLiteral("url"), url)
        << CURL_CFG_LINE(QStringLiteral("header"), QStringLiteral("accept: */*"))
        << CURL_CFG_LINE(QStringLiteral("output"), answer);
  bool ran = false;
  {
    const WaitCursor cursor(!quiet);
    ran = CURL_RUN(TMP_FN(QStringLiteral("CURLUJ.BAT")), lines, answer, limits());
  }
  if (!ran) return MSG(CURL_ERR());

  QByteArray page;
  READ_FILE(answer, &page, true);
  deliver(readReceiptPage(page, startMark.toUtf8(), endMark.toUtf8(), empty.date));
  return true;
}

}  // namespace korvan
