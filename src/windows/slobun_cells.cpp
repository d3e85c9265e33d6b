// The free-entry window's line grid: the table widget driven by the grid
// engine of windows/slobun_grid.h.
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "common/msg.h"
#include "common/picture.h"
#include "windows/slobun.h"
#include "windows/slobun_grid.h"

namespace korvan {

namespace {

// The text a cell last showed by the program's own write: what an edit that
// does not fit goes back to.
constexpr int kAccepted = Qt::UserRole + 1;

}  // namespace

void MySLOBUN::POPUNI_TABELU(bool lFirst) {
  const int rows = SLOBUN_MAX_RED(GETINI(QStringLiteral("MAX_RED"), cSEKCIJA, QStringLiteral("20")));
  const double rate = SLOBUN_STOPA(lFIRMA_OBVPDV);
  if (lFirst) {
    connect(oTABELA, &QTableWidget::cellChanged, this, &MySLOBUN::MENJANA_CELIJA);
    // A few lines always show, however the fields above crowd the screen.
    oTABELA->setMinimumHeight(oTABELA->horizontalHeader()->sizeHint().height() +
                              3 * oTABELA->verticalHeader()->defaultSectionSize() + 2 * oTABELA->frameWidth());
  }
  lPROGRAMSKI = true;
  oTABELA->setRowCount(rows);
  for (int r = 1; r <= rows; ++r)
    for (const MyKOLONA& k : aKOLONE)
      PISI_VREDNOST(k.POLJE, k.TIP == u"N" ? QVariant(k.POLJE == u"STOPA" ? rate : 0.0) : QVariant(QString()), r);
  AZU_ZBIR();
  lPROGRAMSKI = false;
}

QStringList MySLOBUN::rowTexts(int row) const {
  QStringList out;
  for (int c = 0; c < aKOLONE.size(); ++c) {
    const QTableWidgetItem* it = oTABELA ? oTABELA->item(row - 1, c) : nullptr;
    out << (it ? it->text() : QString());
  }
  return out;
}

void MySLOBUN::MENJANA_CELIJA(int row, int column) {
  if (lPROGRAMSKI) return;
  QTableWidgetItem* item = oTABELA->item(row, column);
  if (!IMA_WHATSTHIS(item, oTABELA)) return;
  const int n = item->whatsThis().toInt();
  if (column >= aKOLONE.size() || aKOLONE[column].TIP != u"N") return;
  const SlobunEdit e = SLOBUN_MENJANA(aKOLONE, rowTexts(n), n, column, item->text());
  lPROGRAMSKI = true;
  if (!e.error.isEmpty()) {
    item->setText(item->data(kAccepted).toString());
    lPROGRAMSKI = false;
    MSG(e.error);
    return;
  }
  for (const SlobunCell& c : e.writes) {
    if (c.column == column) {
      // The edited item itself is still in the table's hands: normalised in place.
      item->setText(c.shown);
      item->setData(kAccepted, c.shown);
    } else {
      writeCell(c.column, c.value, c.shown, n);
    }
  }
  AZU_ZBIR();
  lPROGRAMSKI = false;
}

void MySLOBUN::MENJAJ_ZAVISNE(int row, const QString& field) {
  const SlobunEdit e = SLOBUN_ZAVISNE(aKOLONE, rowTexts(row), row, field);
  if (!e.error.isEmpty()) {
    MSG(e.error);
    return;
  }
  for (const SlobunCell& c : e.writes) writeCell(c.column, c.value, c.shown, row);
}

void MySLOBUN::AZU_ZBIR() {
  QStringList values;
  for (int r = 1; r <= (oTABELA ? oTABELA->rowCount() : 0); ++r) values << VRATI_STR_VREDNOST(QStringLiteral("VREDP"), r);
  if (auto* l = qobject_cast<QLabel*>(oTABELA_ISPOD.data())) l->setText(SLOBUN_ZBIR_TEKST(values));
}

QString MySLOBUN::VRATI_STR_VREDNOST(const QString& field, int row) const {
  const int c = KOLONA_PO_POLJU(aKOLONE, field);
  const QTableWidgetItem* it = c >= 0 && oTABELA ? oTABELA->item(row - 1, c) : nullptr;
  return it ? it->text() : QString();
}

double MySLOBUN::VRATI_NUM_VREDNOST(const QString& field, int row) const {
  return SLOBUN_VREDNOST(VRATI_STR_VREDNOST(field, row));
}

void MySLOBUN::PISI_VREDNOST(const QString& field, const QVariant& value, int row) {
  const int c = KOLONA_PO_POLJU(aKOLONE, field);
  if (c < 0) return;
  if (aKOLONE[c].TIP == u"N") {
    const double v = value.toDouble();
    writeCell(c, v, SLOBUN_PRIKAZ(aKOLONE[c], v), row);
    return;
  }
  if (QTableWidgetItem* it = POSTAVI_KOLONU(aKOLONE, c + 1, value.toString(), row - 1, QString::number(row),
                                            std::nullopt, std::nullopt, std::nullopt, true))
    it->setData(kAccepted, it->text());
}

void MySLOBUN::writeCell(int column, double value, const QString& shown, int row) {
  QTableWidgetItem* it = POSTAVI_KOLONU(aKOLONE, column + 1, value, row - 1, QString::number(row), std::nullopt,
                                        std::nullopt, std::nullopt, true);
  if (!it) return;
  Q_ASSERT(it->text() == shown);
  it->setData(kAccepted, shown);
}

QString MySLOBUN::NE_STAJE() const {
  for (int r = 1; r <= (oTABELA ? oTABELA->rowCount() : 0); ++r) {
    const QStringList texts = rowTexts(r);
    for (int c = 0; c < texts.size(); ++c)
      if (aKOLONE[c].TIP == u"N" && PICTURE_OVERFLOW(texts[c])) return SLOBUN_NE_STAJE(aKOLONE, r, c);
  }
  return {};
}

}  // namespace korvan
