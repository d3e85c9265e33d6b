#pragma once
// The line table of the invoice windows (spreadsheet and clipboard import):
// the eleven columns the e-invoice builder reads by field name.
#include <QList>
#include <QString>

#include "ui/kolona.h"

namespace korvan {

inline QList<MyKOLONA> INVOICE_LINE_TABLE() {
  auto k = [](const char* f, const char* c, const char* t, int len, int dec) {
    return MyKOLONA::New(QString::fromLatin1(f), QString::fromUtf8(c), QString::fromLatin1(t), len, dec);
  };
  return {k("ART_SIFRA", "Šifra\nartikla", "C", 10, 0),       k("ART_NAZIV", "Naziv", "C", 30, 0),
          k("ART_BARKOD", "Barkod", "C", 13, 0),              k("ART_JMERE", "J.m.", "C", 4, 0),
          k("KOLICINA", "Količina", "N", 12, 3),              k("CENB", "Cena bez\nPDV-a", "N", 12, 4),
          k("VREDB", "Vrednost\nbez PDV-a", "N", 14, 2),      k("RABATP", "Rabat %", "N", 7, 2),
          k("STOPA", "PDV %", "N", 7, 2),                     k("OSN", "Osnovica\nPDV-a", "N", 14, 2),
          k("VREDP", "Vrednost\nsa PDV-om", "N", 14, 2)};
}

}  // namespace korvan
