// The clipboard window's field rows: positions marked in the pane, the
// values and item rows cut out of its text, and the validation marks.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextEdit>

#include "common/msg.h"
#include "common/numbers.h"
#include "windows/izclip.h"

namespace korvan {

namespace {

const QBrush& yellow() {
  static const QBrush b(Qt::yellow);
  return b;
}

// A label's number; an empty or unreadable label reads 0.
int labelNumber(const QLabel* l) { return l ? int(VAL(l->text())) : 0; }

void show(QLabel* row, QLabel* column, const izclip::Cell& c) {
  if (row) row->setText(QString::number(c.row));
  if (column) column->setText(QString::number(c.column));
}

}  // namespace

void MyIZCLIP::setFieldCell(const char* column, const QString& value, int row, const QString& key, FieldCellLook look) {
  POSTAVI_KOLONU(aKOLONE_POLJA, column, value, row, key, look.background, std::nullopt, std::nullopt, look.editable,
                 std::nullopt, otwTABELA_POLJA);
}

int MyIZCLIP::rowOf(const QString& key) const {
  if (!otwTABELA_POLJA) return -1;
  for (int row = otwTABELA_POLJA->rowCount() - 1; row >= 0; --row)
    if (const QTableWidgetItem* it = otwTABELA_POLJA->item(row, 0); it && it->whatsThis() == key) return row;
  return -1;
}

void MyIZCLIP::POPUNI_otwTABELA_POLJA() {
  otwTABELA_POLJA->setRowCount(int(aSVA_POLJA.size()));
  for (int row = 0; row < aSVA_POLJA.size(); ++row) {
    const izclip::Field& f = aSVA_POLJA[row];
    const QString key = QString::fromLatin1(f.key);
    const std::optional<QBrush> mark =
        aMORA_NUM_KOLONA.contains(key) ? std::optional<QBrush>(yellow()) : std::nullopt;
    setFieldCell("OPIS", QString::fromUtf8(f.label), row, key, {.background = mark});
    setFieldCell("POZICIJA", GETINI(key, cSEKCIJA), row, key, {.editable = true});
    setFieldCell("VREDNOST", QString(), row, key);
  }
}

bool MyIZCLIP::IZRACUNAJ_ROW_COL(int& row, int& column) const {
  if (!oteCLIP) return false;
  // From the text itself, not the display: a wrapped line keeps counting.
  const izclip::Cell c = izclip::cellAt(oteCLIP->toPlainText(), oteCLIP->textCursor().position());
  row = c.row;
  column = c.column;
  return true;
}

void MyIZCLIP::PRIKAZI_ROW_COL() {
  int row = 0, column = 0;
  if (!IZRACUNAJ_ROW_COL(row, column)) return;
  const QTextCursor cursor = oteCLIP->textCursor();
  if (cursor.hasSelection()) {
    // From the selection's two ends, however it was made: the first selected
    // character and the one just after the last.
    const QString text = oteCLIP->toPlainText();
    show(olblPOC_SEL_ROW, olblPOC_SEL_COL, izclip::cellAt(text, cursor.selectionStart()));
    show(olblKRAJ_SEL_ROW, olblKRAJ_SEL_COL, izclip::cellAt(text, cursor.selectionEnd()));
    lPRVI_SELEKTOVANO = false;
  }
  show(olblROW, olblCOL, {.row = row, .column = column});
}

void MyIZCLIP::UZMI_POZICIJE() {
  const int row = otwTABELA_POLJA ? otwTABELA_POLJA->currentRow() : -1;
  if (row < 0) return;
  const QTableWidgetItem* tag = otwTABELA_POLJA->item(row, 0);
  const QString key = tag ? tag->whatsThis() : QString();
  const QString text = izclip::positionText(labelNumber(olblPOC_SEL_ROW), labelNumber(olblPOC_SEL_COL),
                                            labelNumber(olblKRAJ_SEL_ROW), labelNumber(olblKRAJ_SEL_COL));
  setFieldCell("POZICIJA", text, row, key, {.editable = true});
}

void MyIZCLIP::BRISI_POZICIJE() {
  const int row = otwTABELA_POLJA ? otwTABELA_POLJA->currentRow() : -1;
  if (row < 0) return;
  const QTableWidgetItem* tag = otwTABELA_POLJA->item(row, 0);
  const QString key = tag ? tag->whatsThis() : QString();
  setFieldCell("POZICIJA", QString(), row, key, {.editable = true});
  setFieldCell("VREDNOST", QString(), row, key);
}

bool MyIZCLIP::PASTE_CLIP() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return MSG(QStringLiteral("Nije kopirano u ClipBoard kao tekst!"));
  // A paste always shows plain text: the marked view of the text before it is gone.
  lEDIT_CLIP = true;
  setMarkedButton();
  oteCLIP->setPlainText(data->text());
  return true;
}

void MyIZCLIP::ODREDI_aPOZICIJE() {
  QList<QPair<QString, QString>> positions;
  const int posColumn = KOLONA_PO_POLJU(aKOLONE_POLJA, "POZICIJA");
  for (int row = 0; row < otwTABELA_POLJA->rowCount(); ++row) {
    const QTableWidgetItem* tag = otwTABELA_POLJA->item(row, 0);
    const QTableWidgetItem* pos = otwTABELA_POLJA->item(row, posColumn);
    if (tag && pos) positions.append({tag->whatsThis(), pos->text()});
  }
  aPOZICIJE = izclip::rangesOf(positions);
}

void MyIZCLIP::setMarkedButton() {
  if (!obOZNACI_POLJA) return;
  obOZNACI_POLJA->setText(lEDIT_CLIP ? QString::fromUtf8("Označi polja") : QStringLiteral("Skini oznake polja"));
  obOZNACI_POLJA->setIcon(QIcon(lEDIT_CLIP ? QStringLiteral(":/res/trazi.png") : QStringLiteral(":/res/izmeni.png")));
}

void MyIZCLIP::OZNACI_POLJA(bool lExtract) {
  if (!lExtract && !lEDIT_CLIP) {
    lEDIT_CLIP = true;
    oteCLIP->setPlainText(cOLD_CLIP);
    setMarkedButton();
    return;
  }
  // While the marked view shows, the text is the one taken when it was
  // switched on; the view's own text is only its picture.
  if (lEDIT_CLIP) cOLD_CLIP = oteCLIP->toPlainText();
  if (!lExtract) lEDIT_CLIP = false;
  ODREDI_aPOZICIJE();
  const QStringList lines = izclip::linesOf(cOLD_CLIP);
  if (!lExtract) {
    oteCLIP->setHtml(izclip::markedView(lines, aPOZICIJE));
    setMarkedButton();
    return;
  }
  for (const auto& [key, value] : izclip::extractValues(lines, aPOZICIJE)) POSTAVI_VREDNOST(key, value);
  POPUNI_otwTABELA_STAVKI(lines);
}

void MyIZCLIP::POSTAVI_VREDNOST(const QString& key, const QString& value) {
  const int row = rowOf(key);
  if (row < 0) return;
  setFieldCell("VREDNOST", value, row, key);
}

void MyIZCLIP::POPUNI_otwTABELA_STAVKI(const QStringList& lines) {
  otwTABELA_STAVKI->setRowCount(0);
  const QList<QHash<QString, QString>> rows = izclip::itemRows(lines, aPOZICIJE, aMORA_NUM_KOLONA);
  otwTABELA_STAVKI->setRowCount(int(rows.size()));
  for (int row = 0; row < rows.size(); ++row) {
    for (const MyKOLONA& k : aKOLONE_STAVKI) {
      QVariant value;
      if (!rows[row].contains(k.POLJE))
        value = QString();
      else if (k.TIP == u"N")
        value = VISE_INTELI_VAL(rows[row].value(k.POLJE));
      else
        value = rows[row].value(k.POLJE).trimmed();
      // Read-only, untagged, in the table's own font.
      POSTAVI_KOLONU(aKOLONE_STAVKI, k.POLJE, value, row, QVariant(), {}, {}, {}, false, {}, otwTABELA_STAVKI);
    }
  }
}

void MyIZCLIP::SET_MORA_NUM_KOLONA() {
  const int row = otwTABELA_POLJA ? otwTABELA_POLJA->currentRow() : -1;
  if (row < 0) return;
  const QTableWidgetItem* tag = otwTABELA_POLJA->item(row, 0);
  const QString key = tag ? tag->whatsThis() : QString();
  const izclip::Field* f = izclip::fieldOf(key);
  if (!f || !f->item) {
    MSG(QStringLiteral("Ova opcija je samo za polja stavki!"));
    return;
  }
  const bool marked = !aMORA_NUM_KOLONA.contains(key);
  if (marked)
    aMORA_NUM_KOLONA.append(key);
  else
    aMORA_NUM_KOLONA.removeAll(key);
  setFieldCell("OPIS", QString::fromUtf8(f->label), row, key,
               {.background = marked ? std::optional<QBrush>(yellow()) : std::nullopt});
}

void MyIZCLIP::UZMI_MORA_NUM_KOLONA() {
  aMORA_NUM_KOLONA.clear();
  for (const QString& key : GETINI(QStringLiteral("MORA_NUM_KOLONA"), cSEKCIJA).split(QLatin1Char(',')))
    if (!key.trimmed().isEmpty()) aMORA_NUM_KOLONA.append(key.trimmed());
}

bool MyIZCLIP::PISI_MORA_NUM_KOLONA() {
  return PUTINI(QStringLiteral("MORA_NUM_KOLONA"), cSEKCIJA, aMORA_NUM_KOLONA.join(QLatin1Char(',')));
}

}  // namespace korvan
