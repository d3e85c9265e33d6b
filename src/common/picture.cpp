#include "common/picture.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/money.h"

namespace korvan {
namespace {

bool isDigitPosition(char16_t c) { return c == u'9' || c == u'#'; }

// Integer and fraction digits of |value| rounded to `decimals`, as ASCII.
// Returns the number of integer digits written to intDigits (at least one).
struct Digits {
  char integer[400];
  int intLen = 0;
  char fraction[32];
  bool zero = true;
};

void splitDigits(double value, int decimals, Digits& d) {
  std::uint64_t m = 0;
  if (decimals <= 19 && detail::roundScaled(value, decimals, m)) {
    d.zero = m == 0;
    const double p = detail::pow10(decimals);
    std::uint64_t scale = static_cast<std::uint64_t>(p);
    std::uint64_t ip = m / scale, fp = m % scale;
    char tmp[24];
    int n = 0;
    do {
      tmp[n++] = static_cast<char>('0' + ip % 10);
      ip /= 10;
    } while (ip);
    d.intLen = n;
    for (int i = 0; i < n; ++i) d.integer[i] = tmp[n - 1 - i];
    for (int i = decimals - 1; i >= 0; --i) {
      d.fraction[i] = static_cast<char>('0' + fp % 10);
      fp /= 10;
    }
    return;
  }
  // Too large for exact integers: nothing below the decimal point is left.
  char buf[420];
  const double a = std::isfinite(value) ? std::fabs(value) : 0.0;
  std::snprintf(buf, sizeof buf, "%.*f", decimals > 30 ? 30 : decimals, a);
  const char* dot = std::strchr(buf, '.');
  const int n = dot ? static_cast<int>(dot - buf) : static_cast<int>(std::strlen(buf));
  std::memcpy(d.integer, buf, n);
  d.intLen = n;
  for (int i = 0; i < decimals; ++i) d.fraction[i] = dot && dot[1 + i] ? dot[1 + i] : '0';
  d.zero = a == 0;
}

}  // namespace

QString TRANSFORM(double value, const QString& picture) {
  const QChar* pic = picture.constData();
  const int picLen = static_cast<int>(picture.size());
  bool funcE = false, funcZ = false;
  int start = 0;
  if (picLen > 0 && pic[0].unicode() == u'@') {
    int i = 1;
    for (; i < picLen && pic[i].unicode() != u' '; ++i) {
      const char16_t c = pic[i].unicode();
      if (c == u'E' || c == u'e') funcE = true;
      else if (c == u'Z' || c == u'z') funcZ = true;
    }
    start = i < picLen ? i + 1 : picLen;
  }
  const QChar* t = pic + start;
  const int len = picLen - start;
  if (len == 0) {
    QString s = STR(value);
    if (funcE) {
      for (QChar& c : s) {
        if (c == u'.') c = u',';
      }
    }
    return s;
  }

  int pointAt = -1, intPositions = 0, decimals = 0;
  for (int i = 0; i < len; ++i) {
    const char16_t c = t[i].unicode();
    if (c == u'.' && pointAt < 0) pointAt = i;
    else if (isDigitPosition(c)) (pointAt < 0 ? intPositions : decimals)++;
  }
  // Wider fractions than the digit buffer holds show as overflow.
  if (decimals > 30) {
    QString out(t, len);
    for (QChar& c : out)
      if (isDigitPosition(c.unicode())) c = QChar(u'*');
    return out;
  }

  Digits d;
  splitDigits(value, decimals, d);
  if (funcZ && d.zero) return QString(len, QChar(u' '));
  const bool negative = value < 0 && !d.zero;
  // A zero integer part needs no digit when the template has no integer positions.
  const int intNeeded = (d.intLen == 1 && d.integer[0] == '0' && intPositions == 0) ? 0 : d.intLen;

  QString out(len, QChar(u' '));
  QChar* o = out.data();
  bool overflow = intNeeded > intPositions;
  if (!overflow) {
    const int intEnd = pointAt < 0 ? len : pointAt;
    // Integer part: digits from the right; the leftmost written digit position.
    int next = intNeeded - 1, firstDigit = intEnd;
    for (int i = intEnd - 1; i >= 0; --i) {
      const char16_t c = t[i].unicode();
      if (isDigitPosition(c)) {
        if (next >= 0) {
          o[i] = QChar(d.integer[next--]);
          firstDigit = i;
        }
      } else if (c == u',') {
        if (next >= 0) o[i] = QChar(u',');  // a digit stands to its left
      } else {
        o[i] = t[i];
      }
    }
    if (negative) {
      if (firstDigit == 0) overflow = true;
      else o[firstDigit - 1] = QChar(u'-');
    }
    if (!overflow) {
      int f = 0;
      for (int i = intEnd; i < len; ++i) {
        const char16_t c = t[i].unicode();
        if (isDigitPosition(c)) o[i] = QChar(d.fraction[f++]);
        else o[i] = t[i];
      }
    }
  }
  if (overflow) {
    for (int i = 0; i < len; ++i) o[i] = isDigitPosition(t[i].unicode()) ? QChar(u'*') : t[i];
  }
  if (funcE) {
    for (int i = 0; i < len; ++i) {
      if (o[i].unicode() == u'.') o[i] = QChar(u',');
      else if (o[i].unicode() == u',') o[i] = QChar(u'.');
    }
  }
  return out;
}

bool PICTURE_OVERFLOW(const QString& shown) { return shown.contains(QChar(u'*')); }

bool FORMULA_ERROR(const QString& shown) {
  // A name that ends in "!" or "?": "#12" or "#A1" is text someone typed.
  static const QRegularExpression error(QStringLiteral("^(#[A-Z][A-Z0-9/]*[!?]|#N/A|Err:\\d{3})$"));
  return error.match(shown.trimmed()).hasMatch();
}

QString FORMIRAJ_PICT(int length, int decimals, bool european, bool thousands) {
  int intPositions = decimals > 0 ? length - decimals - 1 : length;
  if (intPositions < 0) intPositions = 0;
  QString p = european ? QStringLiteral("@EZ ") : QStringLiteral("@Z ");
  p.reserve(p.size() + intPositions + intPositions / 3 + decimals + 1);
  for (int i = intPositions; i > 0; --i) {
    p += QChar(u'9');
    if (thousands && i > 1 && (i - 1) % 3 == 0) p += QChar(u',');
  }
  if (decimals > 0) {
    p += QChar(u'.');
    p += QString(decimals, QChar(u'9'));
  }
  return p;
}

QString BEZ_DECIM(double value, const QString& picture) {
  QString s = TRANSFORM(value, picture);
  const int width = static_cast<int>(s.size());
  for (int i = width - 1; i >= 0; --i) {
    const char16_t c = s[i].unicode();
    if (c == u'0') {
      s[i] = QChar(u' ');
    } else if (c == u',' || c == u'.') {
      s[i] = QChar(u' ');
      break;
    } else {
      break;
    }
  }
  s = s.trimmed();
  return s.rightJustified(width, QChar(u' '));
}

QString STR(double value, int width) {
  QString s;
  if (!std::isfinite(value)) return QString(std::max(width, 1), QChar(u'*'));  // the overflow mark
  {
    char buf[420];
    std::snprintf(buf, sizeof buf, "%.15g", value == 0 ? 0.0 : value);
    if (std::strchr(buf, 'e')) {
      // Large or tiny: plain digits, up to 15 significant ones.
      const int exp10 = static_cast<int>(std::floor(std::log10(std::fabs(value))));
      const int decimals = exp10 >= 14 ? 0 : 14 - exp10;
      std::snprintf(buf, sizeof buf, "%.*f", decimals > 30 ? 30 : decimals, value);
      if (std::strchr(buf, '.')) {
        char* end = buf + std::strlen(buf) - 1;
        while (*end == '0') *end-- = 0;
        if (*end == '.') *end = 0;
      }
    }
    s = QString::fromLatin1(buf);
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
  }
  return s.rightJustified(width, QChar(u' '));
}

}  // namespace korvan
