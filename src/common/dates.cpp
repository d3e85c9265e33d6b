#include "common/dates.h"

#include "common/numbers.h"

namespace korvan {
namespace {

std::function<QDate()>& clock() {
  static std::function<QDate()> c;
  return c;
}

int fixedEpoch = 0;

int digit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9' ? c.unicode() - u'0' : -1; }

// Reads up to maxDigits digits at text[pos]; returns the count read.
int readDigits(const QString& text, qsizetype& pos, int maxDigits, int& value) {
  int n = 0;
  value = 0;
  while (pos < text.size() && n < maxDigits && digit(text[pos]) >= 0) {
    value = value * 10 + digit(text[pos]);
    ++pos;
    ++n;
  }
  return n;
}

QString twoDigits(int n) { return QString::number(n).rightJustified(2, u'0'); }

QDate yearStart(int year) { return year > 0 ? QDate(year, 1, 1) : QDate(); }
QDate yearEnd(int year) { return year > 0 ? QDate(year, 12, 31) : QDate(); }

}  // namespace

QDate TODAY() { return clock() ? clock()() : QDate::currentDate(); }
void SET_TODAY_CLOCK(std::function<QDate()> c) { clock() = std::move(c); }

int EPOCH() { return fixedEpoch ? fixedEpoch : TODAY().year() - 90; }
void SET_EPOCH(int year) { fixedEpoch = year; }

QString DTOC(const QDate& date) {
  if (!date.isValid()) return QStringLiteral("  .  .    ");
  // Written in place: tables show it for every row.
  int year = 0, month = 0, day = 0;
  date.getDate(&year, &month, &day);
  if (year < 0 || year > 9999)
    return twoDigits(day) + u'.' + twoDigits(month) + u'.' + QString::number(year).rightJustified(4, u'0');
  QString out(10, Qt::Uninitialized);
  char16_t* p = reinterpret_cast<char16_t*>(out.data());
  const auto put = [&p](int value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10) p[i] = char16_t(u'0' + value % 10);
    p += digits;
  };
  put(day, 2);
  *p++ = u'.';
  put(month, 2);
  *p++ = u'.';
  put(year, 4);
  return out;
}

QDate CTOD(const QString& text) {
  qsizetype pos = 0;
  while (pos < text.size() && text[pos].isSpace()) ++pos;
  int day = 0, month = 0, year = 0;
  if (readDigits(text, pos, 2, day) == 0 || pos >= text.size() || digit(text[pos]) >= 0)
    return {};
  ++pos;
  if (readDigits(text, pos, 2, month) == 0 || pos >= text.size() || digit(text[pos]) >= 0)
    return {};
  ++pos;
  const int yearDigits = readDigits(text, pos, 4, year);
  if (pos < text.size() && !text[pos].isSpace()) return {};
  if (yearDigits == 1 || yearDigits == 2) {
    const int epoch = EPOCH();
    year += epoch / 100 * 100;
    if (year < epoch) year += 100;
  } else if (yearDigits != 4) {
    return {};
  }
  const QDate d(year, month, day);
  return d.isValid() ? d : QDate();
}

QString DTOC_(const QDate& date) {
  if (!date.isValid()) return QStringLiteral("  .  .  ");
  return twoDigits(date.day()) + u'.' + twoDigits(date.month()) + u'.' +
         twoDigits(date.year() % 100);
}

QString DTOCMYS(const QDate& date) {
  if (!date.isValid()) return QStringLiteral("0000-00-00");
  return QString::number(date.year()).rightJustified(4, u'0') + u'-' + twoDigits(date.month()) +
         u'-' + twoDigits(date.day());
}

QDate MYSTOD(const QString& text) {
  if (text.size() < 10 || text[4] != u'-' || text[7] != u'-') return {};
  qsizetype pos = 0;
  int year = 0, month = 0, day = 0;
  if (readDigits(text, pos, 4, year) != 4) return {};
  pos = 5;
  if (readDigits(text, pos, 2, month) != 2) return {};
  pos = 8;
  if (readDigits(text, pos, 2, day) != 2) return {};
  const QDate d(year, month, day);
  return d.isValid() && year > 0 ? d : QDate();
}

QDate STOD(const QString& text) {
  if (text.size() != 8) return {};
  qsizetype pos = 0;
  int year = 0, month = 0, day = 0;
  if (readDigits(text, pos, 4, year) != 4 || readDigits(text, pos, 2, month) != 2 ||
      readDigits(text, pos, 2, day) != 2)
    return {};
  const QDate d(year, month, day);
  return d.isValid() && year > 0 ? d : QDate();
}

QDate BOM(const QDate& date) {
  return date.isValid() ? QDate(date.year(), date.month(), 1) : QDate();
}

QDate EOM(const QDate& date) {
  return date.isValid() ? QDate(date.year(), date.month(), date.daysInMonth()) : QDate();
}

QDate BOY(const QDate& date) { return date.isValid() ? yearStart(date.year()) : QDate(); }
QDate EOY(const QDate& date) { return date.isValid() ? yearEnd(date.year()) : QDate(); }
QDate DFDOY(const QDate& date) { return BOY(date); }
QDate DLDOY(const QDate& date) { return EOY(date); }
QDate DFDOY(const QString& year) { return yearStart(static_cast<int>(VAL(year))); }
QDate DLDOY(const QString& year) { return yearEnd(static_cast<int>(VAL(year))); }

}  // namespace korvan
