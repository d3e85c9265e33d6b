#pragma once
// The free-entry window's line grid without widgets: its eleven columns, how
// a number shows in a cell, and the recomputation of a row after one of its
// cells changed. Every function works on a row's texts as they are shown and
// answers what to write; nothing here touches a table.
//
// Amounts are read back from the shown texts (so each is the amount rounded
// to its column), rounded half away from zero by ROUND, and a division by 0
// gives 0 (DIV0). A text that shows the asterisks of an overflowing picture
// is never read as 0: an edit that reads or would write one is refused with
// a message and nothing of it is written.
#include <QList>
#include <QString>
#include <QStringList>

#include "ui/kolona.h"

namespace korvan {

// The 11 columns; the workbook mode has a wider code and a narrower barcode.
QList<MyKOLONA> SLOBUN_KOLONE(bool lYT);

// The shown text of a number in a column: its picture ("@EZ", no thousands),
// trimmed; zero shows empty, a value too large shows asterisks.
QString SLOBUN_PRIKAZ(const MyKOLONA& k, double value);

// The value of a shown text (INTELI_VAL: "," or "." as decimal mark).
double SLOBUN_VREDNOST(const QString& shown);

// The refusal of a number that does not fit: row is 1-based.
QString SLOBUN_NE_STAJE(const QList<MyKOLONA>& k, int row, int column);

// One cell to write: column index into the descriptors, the value, its text.
struct SlobunCell {
  int column = -1;
  double value = 0;
  QString shown;
};

// The cells to write for an edit, in write order; with error set nothing is
// to be written and the edit is undone.
struct SlobunEdit {
  QList<SlobunCell> writes;
  QString error;
};

// A row recomputed after field changed (row: the shown texts by column, row
// number 1-based for messages). Quantity, discount and rate changes compute
// forward from the price; a typed value with VAT, base or value before
// discount computes backward. Other fields: nothing.
SlobunEdit SLOBUN_ZAVISNE(const QList<MyKOLONA>& k, const QStringList& row, int rowNumber,
                          const QString& field);

// A cell the user typed into: a text column gives nothing; a number column
// writes the typed value back in its picture, then the row's dependent cells.
SlobunEdit SLOBUN_MENJANA(const QList<MyKOLONA>& k, const QStringList& row, int rowNumber,
                          int column, const QString& typed);

// "Ukupno: " and the sum in "@E 999,999,999,999.99" (18 characters, not
// trimmed). The sum of values one of which shows asterisks is not known: it
// shows asterisks too.
QString SLOBUN_ZBIR_TEKST(double total);
QString SLOBUN_ZBIR_TEKST(const QStringList& shownValues);

// The grid's row count from the MAX_RED text: a number held between 0 and
// 1,000 (a text that is not a number gives 0).
int SLOBUN_MAX_RED(const QString& text);

// The rate of an empty row: 20 for a VAT-registered company, else 0.
double SLOBUN_STOPA(bool registered);

}  // namespace korvan
