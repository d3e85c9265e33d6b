#include "receipts/qumpage.h"

#include <optional>

#include "common/dates.h"
#include "common/letters.h"
#include "common/money.h"
#include "common/numbers.h"
#include "common/texthelp.h"

namespace korvan {
namespace {

// The keywords as the page prints them, made from their Latin spelling.
struct Words {
  QByteArray buyer = UTF8CYR("ID kupca");
  QByteArray buyerNbsp = UTF8CYR("ID") + "\xC2\xA0" + UTF8CYR("kupca");
  QByteArray time = UTF8CYR("PFR vreme");
  QByteArray number = UTF8CYR("PFR broj");
  QByteArray title = UTF8CYR("FISKALNI RAČUN");
  QByteArray taxHead[4] = {UTF8CYR("Oznaka"), UTF8CYR("Ime"), UTF8CYR("Stopa"), UTF8CYR("Porez")};
  QByteArray sum = UTF8CYR("Ukupno");
  QByteArray labelA = UTF8CYR("A");
  QByteArray labelG = UTF8CYR("G");
  QByteArray labelDj = UTF8CYR("Đ");
  QByteArray labelE = UTF8CYR("E");
};

const Words& words() {
  static const Words w;
  return w;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

QString text(const QByteArray& bytes) { return QString::fromUtf8(bytes); }
QString pageText(const QByteArray& bytes) { return HTML_DECODE(text(bytes)); }

// A number written with "." grouping and "," as the decimal mark.
double commaNumber(const QByteArray& bytes) { return E2VAL(text(bytes)); }

QList<QByteArray> pageLines(const QByteArray& page) {
  QList<QByteArray> lines = page.split('\n');
  for (QByteArray& l : lines)
    if (l.endsWith('\r')) l.chop(1);
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  return lines;
}

int monthOf(const QByteArray& abbreviation) {
  static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                      "jul", "aug", "sep", "oct", "nov", "dec"};
  for (int m = 0; m < 12; ++m)
    if (abbreviation.toLower() == names[m]) return m + 1;
  return 0;
}

bool allDigits(const QByteArray& s) {
  if (s.isEmpty()) return false;
  for (const char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// "dd-MMM-yy" or "dd-MMM-yyyy"; the empty date when it is neither.
QDate dashedDate(const QByteArray& word) {
  const QList<QByteArray> parts = word.split('-');
  if (parts.size() != 3 || !allDigits(parts[0]) || parts[0].size() > 2 || !allDigits(parts[2])) return {};
  const int month = monthOf(parts[1]);
  int year = parts[2].toInt();
  if (parts[2].size() == 2) year += 2000;
  else if (parts[2].size() != 4) return {};
  const QDate d(year, month, parts[0].toInt());
  return d.isValid() ? d : QDate();
}

void addTax(ReceiptPage& page, const QByteArray& line) {
  const Words& w = words();
  QByteArray label = line.left(4);
  label.replace(' ', "").replace('\t', "");
  const qsizetype percent = line.indexOf('%');
  if (percent < 0) return;
  const double amount = commaNumber(line.mid(percent + 1).trimmed());
  double* sum = label == w.labelDj ? &page.taxDj
                : label == w.labelE ? &page.taxE
                : label == w.labelG ? &page.taxG
                : label == w.labelA ? &page.taxA
                                    : nullptr;
  if (sum) *sum = ROUND(*sum + amount, 2);
}

// The tax summary below its header line, up to a line of 20 "-".
void readTaxSummary(ReceiptPage& page, const QList<QByteArray>& lines, qsizetype header) {
  const QByteArray rule(20, '-');
  for (qsizetype j = header + 1; j < lines.size(); ++j) {
    if (lines[j].contains(rule)) break;
    addTax(page, lines[j]);
  }
}

void setBuyer(ReceiptPage& page, const QByteArray& raw) {
  if (raw.size() == 9 || raw.size() == 13) {
    page.buyerId = text(raw);
  } else if (raw.startsWith("10") || raw.startsWith("11")) {
    page.buyerId = text(raw.mid(3));
  } else if (raw.startsWith("12")) {
    const QByteArray rest = raw.mid(3);
    const qsizetype colon = rest.lastIndexOf(':');
    page.buyerId = text(colon >= 0 ? rest.left(colon) : rest);
    if (colon >= 0) page.buyerJbkjs = text(rest.mid(colon + 1));
  }
}

}  // namespace

ReceiptPage readReceiptPage(const QByteArray& pageBytes, const QByteArray& startMark, const QByteArray& endMark,
                            const QDate& today) {
  const Words& w = words();
  ReceiptPage page;
  page.date = today;
  const QList<QByteArray> lines = pageLines(pageBytes);
  bool itemsOn = false;
  bool startMet = false;
  QByteArray pendingName;
  std::optional<QByteArray> rawBuyer;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    if (!endMark.isEmpty() && line.contains(endMark)) itemsOn = false;
    if (line.contains(w.buyer) || line.contains(w.buyerNbsp)) rawBuyer = line.right(20).trimmed();
    if (line.contains(w.time)) ODREDI_DATPROM(line, page.date);
    if (line.contains(w.number)) ODREDI_PFR_BROJ(page.number, line);
    if (line.contains(w.title)) {
      if (i + 1 < lines.size()) page.line1 = pageText(lines[i + 1].trimmed()).trimmed();
      if (i + 2 < lines.size()) page.line2 = pageText(lines[i + 2].trimmed()).trimmed();
    }
    if (line.contains(w.taxHead[0]) && line.contains(w.taxHead[1]) && line.contains(w.taxHead[2]) &&
        line.contains(w.taxHead[3]))
      readTaxSummary(page, lines, i);
    if (itemsOn && !line.contains(w.sum)) {
      const qsizetype comma = line.lastIndexOf(',');
      if (comma >= 0 && line.size() - comma - 1 == 2) {
        OBRADI_STAVKU(page.items, pendingName, line, page.total);
        pendingName.clear();
      } else {
        pendingName += line;
      }
    }
    if (!startMark.isEmpty() && !startMet && line.contains(startMark)) {
      startMet = true;
      itemsOn = true;
    }
  }
  if (rawBuyer) setBuyer(page, *rawBuyer);
  return page;
}

void ODREDI_DATPROM(const QByteArray& lineIn, QDate& date) {
  // Trailing blanks are no word: the time is the last one written.
  QByteArray line = lineIn;
  while (!line.isEmpty() && isBlank(line.back())) line.chop(1);
  const qsizetype lastBlank = line.lastIndexOf(' ');
  if (lastBlank < 0) return;
  const QByteArray rest = line.left(lastBlank);
  const qsizetype blank = rest.lastIndexOf(' ');
  if (blank < 0) return;
  QByteArray word = rest.mid(blank + 1);
  if (word.contains('.')) {
    if (word.endsWith('.')) word.chop(1);
    date = CTOD(text(word));
    return;
  }
  const QDate d = dashedDate(word);
  if (d.isValid()) date = d;
}

void ODREDI_PFR_BROJ(QString& number, const QByteArray& line) {
  const qsizetype colon = line.indexOf(':');
  if (colon < 0) return;
  QByteArray n = line.mid(colon + 1).trimmed();
  const qsizetype dash = n.lastIndexOf('-');
  if (dash >= 0) n = n.mid(dash + 1);
  number = text(n);
}

double UZMI_OKOLO(const QByteArray& line, qsizetype pos, qsizetype& start, qsizetype& end) {
  if (pos < 0 || pos >= line.size()) {
    start = end = 0;
    return 0;
  }
  qsizetype left = pos;
  while (left >= 0 && !isBlank(line[left])) --left;
  qsizetype right = pos;
  while (right < line.size() && !isBlank(line[right])) ++right;
  start = left < 0 ? 0 : left;
  end = right;
  return commaNumber(line.mid(left + 1, right - left - 1));
}

void OBRADI_STAVKU(QList<ReceiptItem>& items, const QByteArray& nameText, const QByteArray& amounts,
                   double& total) {
  ReceiptItem item;
  qsizetype priceStart = 0, priceEnd = 0, totalStart = 0, totalEnd = 0;
  item.price = UZMI_OKOLO(amounts, amounts.indexOf(','), priceStart, priceEnd);
  item.total = UZMI_OKOLO(amounts, amounts.lastIndexOf(','), totalStart, totalEnd);
  const QByteArray qty = totalStart > priceEnd + 1 ? amounts.mid(priceEnd + 1, totalStart - priceEnd - 1) : QByteArray();
  item.quantity = qty.contains('.') && !qty.contains(',') ? VAL(text(qty)) : commaNumber(qty);

  const qsizetype open = nameText.lastIndexOf('(');
  const qsizetype close = nameText.lastIndexOf(')');
  QByteArray label;
  if (open >= 0 && close >= 0 && (close - open == 2 || close - open == 3)) label = nameText.mid(open + 1, close - open - 1);
  if (open >= 0) {
    const qsizetype slash = open > 0 ? nameText.lastIndexOf('/', open - 1) : -1;
    if (slash >= 0) {
      item.unit = pageText(nameText.mid(slash + 1, open - slash - 1)).trimmed();
      item.name = pageText(nameText.left(slash)).trimmed();
    } else {
      item.name = pageText(nameText.left(open));
    }
  } else {
    item.name = pageText(nameText);
  }
  item.rate = STOPA_POREZ(label);
  items << item;
  total = ROUND(total + item.total, 2);
}

double STOPA_POREZ(const QByteArray& label) {
  const Words& w = words();
  if (label == w.labelA || label == w.labelG) return 0;
  if (label == w.labelE) return 10;
  return 20;
}

}  // namespace korvan
