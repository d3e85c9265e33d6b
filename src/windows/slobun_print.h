#pragma once
// What the free-entry printout prints, without a painter: the eight blocks
// of the invoice as tables of cells (texts, sizes, boldness), the column
// widths and the VAT recapitulation. The window hands the blocks to the
// report builder in order.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "ui/kolona.h"

namespace korvan {

struct StampaCelija {
  QString text;
  double size = 0;   // points; 0: the builder's default, no size call
  int bold = -1;     // -1: no call; 0 / 1: CellFontBold(false / true)
};

struct StampaKolona {
  QString head;
  QString width;  // "40%", "21.74%"
  QString align;  // "L", "R", "C"
};

struct StampaBlok {
  QString frame;  // "" or "SINGLE"
  double inner = 0, outer = 0;  // frame line widths; 0: not given
  QList<StampaKolona> columns;
  QList<StampaCelija> cells;  // row after row, left to right
};

// One rate of the recapitulation: sums over the printed lines of that rate.
struct StampaStopa {
  double stopa = 0;
  double osnovica = 0, pdv = 0, ukupno = 0;
};

struct StampaUlaz {
  // Section Firma.
  QString firmaNaziv, firmaMesto, firmaAdresa, firmaPib, firmaMatbroj, firmaZiro;
  // The window.
  QString godina, broj;
  QString kupacNaziv, kupacAdresa, kupacMesto, kupacPostBroj, kupacPib, kupacMatbroj, kupacJbkjs;
  QDate datumIzdavanja, datumPrometa, valuta;
  QString mestoIzdavanja, mestoPrometa, narudzbenica, otpremnica, ugovor, operater, napomena;
  // The grid: descriptors and every row's shown texts by column.
  QList<MyKOLONA> kolone;
  QList<QStringList> redovi;
};

struct Stampa {
  QList<StampaBlok> blokovi;
  QList<StampaStopa> rekapitulacija;  // highest rate first
  double ukupno = 0;
};

// The printout of one invoice: its blocks in printing order.
Stampa SLOBUN_STAMPA(const StampaUlaz& in);

// The rate's name in the recapitulation ("" for a rate without one).
QString SLOBUN_NAZIV_STOPE(double stopa);
// An amount as printed: "@E 999,999,999,999.99", leading blanks trimmed.
QString SLOBUN_IZNOS(double amount);

}  // namespace korvan
