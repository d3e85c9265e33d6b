// The search bar of a work window, and the table export.
#include <QLineEdit>
#include <QTableWidget>

#include "common/msg.h"
#include "ui/frame.h"
#include "ui/stdqtw.h"

namespace korvan {

void MyQTW::TRAZI_PRVI() {
  if (!oTABELA) return;
  const QString text = oleTRAZI ? oleTRAZI->text() : QString();
  QList<Hit> hits;
  for (int r = 0; r < oTABELA->rowCount(); ++r) {
    for (int c = 0; c < oTABELA->columnCount(); ++c) {
      const QTableWidgetItem* item = oTABELA->item(r, c);
      if (item && item->text().contains(text, Qt::CaseInsensitive)) hits << Hit{r, c};
    }
  }
  qLIST_TRAZI = hits;
  nDUZ_NADJENIH = int(hits.size());
  if (hits.isEmpty()) {
    MSG(QStringLiteral("Ne postoji!"));
    return;
  }
  nNADJEN = 0;
  IDI_NA_NADJEN();
}

void MyQTW::TRAZI_SLEDECI() {
  if (!qLIST_TRAZI || !nNADJEN) {
    TRAZI_PRVI();
    return;
  }
  *nNADJEN += 1;
  if (*nNADJEN + 1 > nDUZ_NADJENIH) {
    MSG(QString::fromUtf8("Nema više!"));
    return;
  }
  // A table refilled since the search no longer holds the hit there: start afresh.
  const Hit h = qLIST_TRAZI->at(*nNADJEN);
  const QTableWidgetItem* item = oTABELA ? oTABELA->item(h.row, h.column) : nullptr;
  const QString text = oleTRAZI ? oleTRAZI->text() : QString();
  if (!item || !item->text().contains(text, Qt::CaseInsensitive)) {
    TRAZI_PRVI();
    return;
  }
  IDI_NA_NADJEN();
}

void MyQTW::IDI_NA_NADJEN() {
  if (!oTABELA || !qLIST_TRAZI || !nNADJEN) return;
  if (*nNADJEN < 0 || *nNADJEN >= qLIST_TRAZI->size()) return;
  const Hit h = qLIST_TRAZI->at(*nNADJEN);
  int col = h.column;
  if (oTABELA->isColumnHidden(col)) col = col + 1 < oTABELA->columnCount() ? col + 1 : col - 1;
  if (h.row >= oTABELA->rowCount() || col < 0 || col >= oTABELA->columnCount()) return;
  oTABELA->setCurrentCell(h.row, col);
  oTABELA->setFocus();
}

void MyQTW::EXPORT(const QString& subtitle, const QString& target, MyEWXML* writer) {
  MyEWXML none;
  MyEWXML& w = writer ? *writer : none;
  MyFRAME box(8, true);
  w.New(cNAZIV, QVariant(), target);
  w.Head(cNAZIV, QStringLiteral("C"));
  if (!subtitle.isEmpty()) w.Head(subtitle, QStringLiteral("L"));
  const bool vzag = !oVZAG.isEmpty();
  if (vzag) w.TabColumn(QString(), QString(), 300, QStringLiteral("C"), 30, 0);
  for (const MyKOLONA& k : aKOLONE)
    if (k.lVIDLJIVA) w.TabColumn(k.NASLOV, k.POLJE, k.DUZ * 10, k.TIP, k.DUZ, k.DEC);
  w.BeginTab();
  const int rows = oTABELA ? oTABELA->rowCount() : 0;
  for (int r = 0; r < rows && oTABELA; ++r) {
    box.Disp(QString::number(r + 1).rightJustified(8) + QLatin1Char('/') +
             QString::number(rows).rightJustified(8));
    if (box.lPREKID || !oTABELA) break;
    int out = 0;
    if (vzag) w.Cell(++out, r < oVZAG.size() ? oVZAG[r] : QString());
    for (int c = 0; c < oTABELA->columnCount(); ++c) {
      if (oTABELA->isColumnHidden(c)) continue;
      const QTableWidgetItem* item = oTABELA->item(r, c);
      w.Cell(++out, item ? item->text() : QString());
    }
    w.NewTabRow();
  }
  w.EndTab();
  w.Exec();
  box.End();
}

}  // namespace korvan
