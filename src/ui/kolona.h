#pragma once
// One column of a table or entry grid, the character-width unit every column
// and field width is measured in, and the test for a cell's hidden record
// number.
#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>

class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace korvan {

class MyKOLONA {
 public:
  MyKOLONA() = default;
  MyKOLONA(const QString& polje, const QString& naslov, const QString& tip, int duz,
           int dec = 0, const QString& inputMask = QString(),
           const QVariantList& combo = QVariantList(),
           std::function<QVariant()> init = nullptr, const QString& align = QString(),
           bool vidljiva = true, bool total = false);
  static MyKOLONA New(const QString& polje, const QString& naslov, const QString& tip,
                      int duz, int dec = 0) {
    return MyKOLONA(polje, naslov, tip, duz, dec);
  }

  QString POLJE;   // field name; identifies the column (exact comparison)
  QString NASLOV;  // caption; a line feed makes a two-line header
  QString TIP;     // "C" text, "N" number, "D" date, "L" logical, "M" memo
  int DUZ = 0;     // length in characters
  int DEC = 0;     // decimals
  // Carried for the editing grids; nothing in the program reads them.
  QString INPUTMASK;
  QVariantList aCOMBO;
  std::function<QVariant()> bINIT;
  QString cALIGN;         // "R", "L", "C" or empty
  bool lVIDLJIVA = true;  // visible (read by the table export)
  bool lTOTAL = false;    // the array browse dialog makes these cells editable
  // Carried, read by nothing.
  QString cLINK_AS_FOOT;
  std::optional<bool> lENABLED;
  std::function<void()> bTOTAL;
  std::optional<int> nBACKCOLOR;
  std::optional<int> nFORECOLOR;
  bool lU_ISTOM_REDU = false;
  std::function<void()> bEDITING_FINISHED;
  QString cTRAZI_POLJE;
  std::function<void()> bPOSLE_EDIT_LBL;
  QString cCOMPLETER;
  QVariantList aHEADER_FILTER;
  std::function<void()> bLISTW;
  std::array<double, 2> aTOTAL{0, 0};
};

// The caption up to its first line feed.
QString NASLOV_PRVI_RED(const QString& naslov);
// The caption's width in characters: the length of its longest line.
int STDQTW_SIRINA_NASLOVA(const QString& naslov);
// Column width in pixels for a descriptor at the given unit (NPOINTSIZE x 0.75):
// max(length, caption width) x unit, truncated.
int SIRINA_KOLONE(const MyKOLONA& k, double unit);
// (2 x average character width + maximum character width) / 3 of the
// widget's current font, in pixels, not rounded.
double NPOINTSIZE(const QWidget* w);
// True when cell is a table cell and, unless anyRow, the table has a current row.
bool IMA_WHATSTHIS(const QTableWidgetItem* cell, const QTableWidget* table,
                   bool anyRow = false);
// The 0-based position of the first descriptor with that field name, -1 when none.
int KOLONA_PO_POLJU(const QList<MyKOLONA>& kolone, const QString& polje);

}  // namespace korvan
