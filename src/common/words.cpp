#include "common/words.h"

#include <cmath>

#include "common/money.h"

namespace korvan {
namespace {

const char* const kUnits[] = {"", "JEDAN", "DVA", "TRI", "ČETIRI", "PET", "ŠEST", "SEDAM", "OSAM", "DEVET"};
const char* const kTeens[] = {"DESET",    "JEDANAEST", "DVANAEST",   "TRINAEST",  "ČETRNAEST",
                              "PETNAEST", "ŠESNAEST",  "SEDAMNAEST", "OSAMNAEST", "DEVETNAEST"};
const char* const kTens[] = {"", "", "DVA", "TRI", "ČETR", "PE", "ŠEZ", "SEDAM", "OSAM", "DEVE"};
const char* const kHundreds[] = {"",      "STO",    "DVESTO",   "TRISTO",   "ČETRISTO",
                                 "PETSTO", "ŠESTO", "SEDAMSTO", "OSAMSTO", "DEVETSTO"};
// Group words, forms 1..3, for thousands, millions and milliards.
const char* const kGroups[][3] = {{"HILJADA", "HILJADE", "HILJADA"},
                                  {"MILION", "MILIONA", "MILIONA"},
                                  {"MILIJARDA", "MILIJARDE", "MILIJARDI"}};

constexpr std::uint64_t kLimit = 1000000000000ULL;  // four groups of three digits

QString spellWhole(std::uint64_t whole) {
  QString words;
  const int groupOf[] = {
      static_cast<int>(whole / 1000000000ULL % 1000), static_cast<int>(whole / 1000000 % 1000),
      static_cast<int>(whole / 1000 % 1000), static_cast<int>(whole % 1000)};
  for (int g = 4; g >= 1; --g) {
    const int n = groupOf[4 - g];
    const int h = n / 100, t = n / 10 % 10, u = n % 10;
    QString part;
    if (h) part += QString::fromUtf8(kHundreds[h]);
    if (t == 1) {
      part += QString::fromUtf8(kTeens[u]);
    } else {
      if (t >= 2) part += QString::fromUtf8(kTens[t]) + QStringLiteral("DESET");
      if ((g == 2 || g == 4) && u == 1) part += QStringLiteral("JEDNA");
      else if ((g == 2 || g == 4) && u == 2) part += QStringLiteral("DVE");
      else part += QString::fromUtf8(kUnits[u]);
    }
    if (part.isEmpty()) continue;
    words += part;
    if (g > 1) {
      const int form = (u == 0 || u >= 5 || t == 1) ? 2 : u == 1 ? 0 : 1;
      words += QString::fromUtf8(kGroups[g - 2][form]);
    }
  }
  return words.isEmpty() ? QStringLiteral("NULA") : words;
}

}  // namespace

QString SLOVIMA(double amount, bool foreign, const QString& currency, bool noCurrency) {
  std::uint64_t cents = 0;
  const bool exact = detail::roundScaled(amount, 2, cents);
  std::uint64_t whole = cents / 100;
  const int centsPart = static_cast<int>(cents % 100);
  QString words;
  if (exact && whole < kLimit) {
    words = spellWhole(whole);
  } else {
    words = QString::number(ROUND(std::abs(amount), 0), 'f', 0);
    whole = 0;
  }
  if (noCurrency) return words;
  QString unit;
  if (foreign) unit = currency;
  else if (whole % 100 == 11) unit = QStringLiteral("dinara");
  else if (whole % 10 == 1) unit = QStringLiteral("dinar");
  else unit = QStringLiteral("dinara");
  return words + u' ' + unit + u' ' + QString::number(centsPart).rightJustified(2, u'0') +
         QStringLiteral("/100");
}

}  // namespace korvan
