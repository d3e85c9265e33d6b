#include "ui/kolona.h"

#include <QFontMetrics>
#include <QTableWidget>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace korvan {

MyKOLONA::MyKOLONA(const QString& polje, const QString& naslov, const QString& tip, int duz,
                   int dec, const QString& inputMask, const QVariantList& combo,
                   std::function<QVariant()> init, const QString& align, bool vidljiva,
                   bool total)
    : POLJE(polje),
      NASLOV(naslov),
      TIP(tip),
      DUZ(duz),
      DEC(dec),
      INPUTMASK(inputMask),
      aCOMBO(combo),
      bINIT(std::move(init)),
      cALIGN(align),
      lVIDLJIVA(vidljiva),
      lTOTAL(total) {}

QString NASLOV_PRVI_RED(const QString& naslov) {
  const int i = naslov.indexOf(QLatin1Char('\n'));
  return i < 0 ? naslov : naslov.left(i);
}

int STDQTW_SIRINA_NASLOVA(const QString& naslov) {
  qsizetype w = 0;
  for (const QString& line : naslov.split(QLatin1Char('\n')))
    w = std::max(w, line.size());
  return int(w);
}

int SIRINA_KOLONE(const MyKOLONA& k, double unit) {
  return int(std::trunc(std::max(k.DUZ, STDQTW_SIRINA_NASLOVA(k.NASLOV)) * unit));
}

double NPOINTSIZE(const QWidget* w) {
  if (!w) return 0;
  const QFontMetrics fm(w->font());
  return (2.0 * fm.averageCharWidth() + fm.maxWidth()) / 3.0;
}

bool IMA_WHATSTHIS(const QTableWidgetItem* cell, const QTableWidget* table, bool anyRow) {
  if (!cell) return false;
  if (anyRow) return true;
  return table && table->currentRow() >= 0;
}

int KOLONA_PO_POLJU(const QList<MyKOLONA>& kolone, const QString& polje) {
  for (int i = 0; i < kolone.size(); ++i)
    if (kolone[i].POLJE == polje) return i;
  return -1;
}

}  // namespace korvan
