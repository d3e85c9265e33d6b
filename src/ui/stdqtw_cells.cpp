// Columns and cells of a work window's table.
#include <QBrush>
#include <QDate>
#include <QHeaderView>
#include <QTableWidget>
#include <QtDebug>

#include "common/dates.h"
#include "common/variants.h"
#include "common/picture.h"
#include "ui/stdqtw.h"
#include "ui/tablecell.h"

namespace korvan {
namespace {

constexpr int kRight = int(Qt::AlignRight | Qt::AlignVCenter);   // 130
constexpr int kLeft = int(Qt::AlignLeft | Qt::AlignVCenter);     // 129
constexpr int kCenter = int(Qt::AlignHCenter | Qt::AlignVCenter);  // 132

std::optional<int> alignFromLetter(const QString& a) {
  if (a == QLatin1String("R")) return kRight;
  if (a == QLatin1String("L")) return kLeft;
  if (a == QLatin1String("C")) return kCenter;
  return std::nullopt;
}

}  // namespace

void MyQTW::POSTAVI_KOLONE_OD_aKOLONE() {
  if (!oTABELA) return;
  const double unit = NPOINTSIZE(oTABELA) * 0.75;
  oTABELA->setColumnCount(int(aKOLONE.size()));
  QStringList captions;
  for (const MyKOLONA& k : aKOLONE) captions << k.NASLOV;
  oTABELA->setHorizontalHeaderLabels(captions);
  for (int i = 0; i < aKOLONE.size(); ++i) oTABELA->setColumnWidth(i, SIRINA_KOLONE(aKOLONE[i], unit));
}

QTableWidgetItem* MyQTW::POSTAVI_KOLONU(const QList<MyKOLONA>& kolone, const KolonaRef& column,
                                        const QVariant& value, int row, const QVariant& hidden,
                                        const std::optional<QBrush>& background,
                                        const std::optional<QBrush>& foreground,
                                        std::optional<int> alignment, bool editable,
                                        const std::optional<QFont>& font, QTableWidget* table) {
  QTableWidget* t = table ? table : oTABELA.data();
  // The column (1-based) and, by field name, the descriptor's alignment.
  int col = column.number;
  if (column.byName) {
    const int i = KOLONA_PO_POLJU(kolone, column.field);
    if (i < 0) {
      qWarning() << "POSTAVI_KOLONU: no column" << column.field;
      return nullptr;
    }
    col = i + 1;
    if (!alignment) alignment = alignFromLetter(kolone[i].cALIGN);
  }
  if (!t || row < 0 || row >= t->rowCount() || col < 1 || col > t->columnCount()) {
    qWarning() << "POSTAVI_KOLONU: no cell" << row << col;
    return nullptr;
  }
  const MyKOLONA* k = col <= kolone.size() ? &kolone[col - 1] : nullptr;

  // The item by the value's type.
  auto* item = new TableCell;
  std::optional<int> shownAlignment;
  const int type = value.typeId();
  bool logical = false;
  if (type == QMetaType::Bool) {
    logical = true;
    item->setCheckState(value.toBool() ? Qt::Checked : Qt::Unchecked);
    shownAlignment = alignment;
  } else if (IS_NUMBER(value)) {
    const QString pict = k ? FORMIRAJ_PICT(k->DUZ, k->DEC, true, lSEP_HILJ) : QString();
    const double v = value.toDouble();
    const QString shown = lBEZ_DECIM && k && k->DEC > 0 ? BEZ_DECIM(v, pict) : TRANSFORM(v, pict);
    item->setText(shown.trimmed());
    shownAlignment = alignment.value_or(kRight);
  } else if (type == QMetaType::QDate) {
    item->setText(DTOC(value.toDate()));
    shownAlignment = alignment.value_or(kCenter);
  } else if (type == QMetaType::QString || type == QMetaType::QByteArray) {
    QString text = type == QMetaType::QString ? value.toString() : QString::fromUtf8(value.toByteArray());
    // A memo's lines break at line feeds alone.
    if (k && k->TIP == QLatin1String("M")) text.remove(QLatin1Char('\r'));
    item->setText(text);
    shownAlignment = alignment;
  }

  // The alignment and the hidden record number.
  item->preset(shownAlignment, hidden.typeId() == QMetaType::QString ? hidden.toString() : QString());

  // Read-only unless asked; a read-only check box cannot be toggled either.
  if (!editable) {
    Qt::ItemFlags f = item->flags() & ~Qt::ItemIsEditable;
    if (logical) f &= ~Qt::ItemIsEnabled;
    item->setFlags(f);
  } else if (logical) {
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
  }

  // The colours and font asked for.
  if (background) item->setBackground(*background);
  if (foreground) item->setForeground(*foreground);
  if (font) item->setFont(*font);

  // The table takes the item over.
  t->setItem(row, col - 1, item);
  return item;
}

}  // namespace korvan
