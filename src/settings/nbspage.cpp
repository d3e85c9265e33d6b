#include "settings/nbspage.h"

#include <QList>
#include <QStringList>

#include <algorithm>

#include "common/files.h"

namespace korvan {
namespace {

enum class Field { None, Name, Address, Account, Place, Number, Date };

struct Rule {
  const char* label;
  Field field;
  int offset;
};

// Checked in this order; the first label found in a line decides.
const Rule kRules[] = {
    {"<a href=\"#5\"", Field::Name, 1},   {">Adresa:", Field::Address, 2},
    {">Ra&#269;un:", Field::Account, 3},   {">Mesto:", Field::Place, 2},
    {">Mati&#269;ni broj:", Field::Number, 12}, {">Datum otvaranja:", Field::Date, 3},
};

struct Record {
  NbsCompany values;  // accounts holds the block's one account
  QString dateText;
  QDate date;
};

QString* target(Record& r, Field f) {
  switch (f) {
    case Field::Name: return &r.values.name;
    case Field::Address: return &r.values.address;
    case Field::Account: return &r.values.accounts;
    case Field::Place: return &r.values.place;
    case Field::Number: return &r.values.registrationNumber;
    case Field::Date: return &r.dateText;
    case Field::None: break;
  }
  return nullptr;
}

// Sets *to from the empty state only; a value holding "COVID19" is no value.
void take(QString* to, const QString& value) {
  if (!to->isEmpty()) return;
  *to = value.contains(QLatin1String("COVID19")) ? QString() : value;
}

// *to replaced only by a value that is there.
void keep(QString& to, const QString& value) {
  if (!value.isEmpty()) to = value;
}

QStringList pageLines(const QString& page) {
  const bool crlf = page.contains(QLatin1String("\r\n"));
  return GET_MEMO(page, nullptr, crlf ? QStringLiteral("\r\n") : QStringLiteral("\n"));
}

}  // namespace

QString NBS_DEKODIRAJ(const QString& text) {
  QString out;
  out.reserve(text.size());
  qsizetype i = 0;
  while (i < text.size()) {
    if (text[i] != u'&') {
      out += text[i++];
      continue;
    }
    const qsizetype semi = text.indexOf(u';', i + 1);
    const QString name = semi > i && semi - i <= 10 ? text.mid(i + 1, semi - i - 1) : QString();
    QString decoded;
    if (name == QLatin1String("amp")) {
      decoded = QStringLiteral("&");
    } else if (name == QLatin1String("quot")) {
      decoded = QStringLiteral("\"");
    } else if (name.size() > 1 && name[0] == u'#') {
      const bool hex = name[1] == u'x' || name[1] == u'X';
      const QString digits = name.mid(hex ? 2 : 1);
      bool ok = !digits.isEmpty() && !digits.startsWith(u'+') && !digits.startsWith(u'-');
      const uint code = ok ? digits.toUInt(&ok, hex ? 16 : 10) : 0;
      if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
        const char32_t c = code;
        decoded = QString::fromUcs4(&c, 1);
      }
    }
    if (decoded.isEmpty()) {
      out += text[i++];
      continue;
    }
    out += decoded;
    i = semi + 1;
  }
  return out;
}

QDate NBS_DATUM(const QString& text) {
  static const QList<QPair<QString, QString>> months = {
      {"Jan", "01"}, {"Feb", "02"}, {"Mar", "03"}, {"Apr", "04"}, {"May", "05"}, {"Maj", "05"}, {"Jun", "06"},
      {"Jul", "07"}, {"Avg", "08"}, {"Sep", "09"}, {"Oct", "10"}, {"Okt", "10"}, {"Nov", "11"}, {"Dec", "12"}};
  const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
  if (words.size() != 6) return QDate();
  QString month;
  for (const auto& [word, number] : months)
    if (word.compare(words[1], Qt::CaseInsensitive) == 0) month = number;
  if (month.isEmpty()) return QDate();
  const QString day = words[2].rightJustified(2, u'0');
  const QString year = words[5];
  if (day.size() != 2 || year.size() != 4) return QDate();
  for (const QChar c : day + year)
    if (c < u'0' || c > u'9') return QDate();
  return QDate(year.toInt(), month.toInt(), day.toInt());
}

NbsCompany NBS_CITAJ_STRANU(const QString& page, bool sorted) {
  const QStringList lines = pageLines(page);
  Record current;
  QStringList accounts;  // unsorted: every account line
  QList<Record> records;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    const Rule* rule = nullptr;
    for (const Rule& r : kRules)
      if (line.contains(QLatin1String(r.label))) {
        rule = &r;
        break;
      }
    if (!rule) continue;
    // The name's label counts only together with "formaa"; without it the line gives nothing.
    if (rule->field == Field::Name && !line.contains(QLatin1String("formaa"))) continue;
    // A line past the last gives nothing, but a date label still closes its block.
    const qsizetype at = i + rule->offset;
    if (at < lines.size()) {
      const QString value = NBS_DEKODIRAJ(lines[at].trimmed());
      if (rule->field == Field::Account && !sorted) accounts << value;
      else take(target(current, rule->field), value);
    }
    if (rule->field == Field::Date && sorted) {
      current.date = NBS_DATUM(current.dateText);
      records << current;
      current = Record();
    }
  }
  if (!sorted) {
    NbsCompany out = current.values;
    out.accounts = accounts.join(u'\n');
    return out;
  }
  // Newest first; an empty date is older than any; equal dates keep page order.
  std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
    if (!a.date.isValid()) return false;
    if (!b.date.isValid()) return true;
    return a.date > b.date;
  });
  NbsCompany out;
  QStringList found;
  for (const Record& r : records) {
    keep(out.name, r.values.name);
    keep(out.address, r.values.address);
    keep(out.place, r.values.place);
    keep(out.registrationNumber, r.values.registrationNumber);
    if (!r.values.accounts.isEmpty()) found << r.values.accounts;
  }
  out.accounts = found.join(u'\n');
  return out;
}

}  // namespace korvan
