#pragma once
// One invoice as text for the clipboard window's tests, and the field
// positions a user marked on it: one case for each rule of the walk.
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "windows/izclip_extract.h"

namespace korvan::test {

// One invoice as text: Serbian letters before fields, a tab, "<" and "&",
// and a line past the pane's 200 columns.
inline QString longLine() {
  QString l = QStringLiteral("C-3   Papir A4    3       1,234.56");
  l += QString(239 - l.size(), QLatin1Char(' ')) + QStringLiteral("KRAJ");
  return l + QString(250 - l.size(), QLatin1Char(' '));
}

inline QStringList invoiceLines() {
  return {QString::fromUtf8("Račun br. 15/2022   Datum: 10.12.2022"),
          QString::fromUtf8("Kupčev naziv: Đorđević & <Sin>\tPIB: 101112131"),
          QStringLiteral("A-1   Olovka      2,000   1.234,50"),
          QStringLiteral("B-2   Gumica      0,00    12,00"),
          longLine()};
}

// The fields table as the user left it: key -> position text, in field order.
inline QList<QPair<QString, QString>> invoicePositions() {
  const QHash<QString, QString> at = {
      {"BRDOK", "R:1,K:11-R:1,K:17"},
      {"DATDOK", "R:1,K:28-R:2,K:3"},         // ends on a later row
      {"VALUTA", "R:5,K:240-R:5,K:243"},      // past the wrap column
      {"OPERATER", "R:1,K:1-R:1,K:9"},        // cut short by NARUDZBENICA's end
      {"NARUDZBENICA", "R:1,K:3-R:1,K:5"},    // starts inside an open field
      {"KOMIT_NAZIV", "R:2,K:15-R:2,K:30"},
      {"KOMIT_PIB", "R:2,K:37-R:2,K:45"},     // after the tab
      {"KOMIT_MATBROJ", "R:2,K:37-R:2,K:46"}, // same start: only the earlier field
      {"KOMIT_MESTO", "R:2,K:60-R:2,K:70"},   // starts beyond the line
      {"KOMIT_EMAIL", "R:9,K:1-R:9,K:5"},     // starts beyond the text
      {"KOMIT_ADRESA", "R:2,K:33-R:2,K:32"},  // ends before it starts
      {"KOMIT_POST_BROJ", "R:2,K:1.5-R:2,K:4"},
      {"KOMIT_JBKJS", "R:0,K:1-R:1,K:2"},
      {"ART_SIFRA", "R:3,K:1-R:3,K:3"},
      {"ART_NAZIV", "R:3,K:7-R:3,K:18"},
      {"KOLICINA", "R:3,K:19-R:3,K:24"},
      {"CENB", "R:3,K:27-R:3,K:34"},
  };
  QList<QPair<QString, QString>> out;
  for (const izclip::Field& f : izclip::fields()) out.append({f.key, at.value(f.key)});
  return out;
}

}  // namespace korvan::test
