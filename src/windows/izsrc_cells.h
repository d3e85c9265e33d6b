#pragma once
// Cell addresses, column letters and the conversions of the spreadsheet
// import window's reads, over the workbook layer.
#include <QDate>
#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/workbook.h"

class QLineEdit;

namespace korvan {

// Column letters to the column number: "A" 1, "Z" 26, "AA" 27, "ZZ" 702,
// "AMJ" 1024. Small letters count as capitals; an empty text, or one with
// anything but letters, gives 0 (a position that no sheet has).
int KOLONA_OD_SLOVA(const QString& letters);

// A cell address as typed ("B3", "AB12"): true with the 1-based row and
// column set when the text ends in digits; a blank text, or one that does not
// end in a digit ("B3 "), is no address.
bool DOBAR_CEL(const QString& text, int& row, int& column);
bool DOBAR_CEL(const QLineEdit* edit, int& row, int& column);

// A value below 1 is a fraction of a percentage cell: times 100 (0 stays 0).
void PROCENTUJ(double& value);

// A text in the form dd.mm.yyyy (blanks around it and a closing point
// allowed) as a date; any other text gives the empty date.
QDate IZSRC_DATUM(const QString& text);

// The office-suite reading of one cell as type "C" (text), "N" (number) or
// "D" (date). A date is read from the text the cell shows. A formula whose
// result is a text reads as that text.
QVariant OO_VALUE(const platform::Cell& cell, const QString& type, bool noDecimals);

// The Excel-kind reading of one cell: its value through XLS_VAL; a value that
// does not fit the type reads as the type's empty value.
QVariant XLS_CELL_VALUE(const platform::Cell& cell, const QString& type, bool noDecimals);

// The supply date's period rule over the cell's text without decimals: after
// a "-", the date that follows it (a period gives its last day); nullopt
// when the text holds no "-" (the cell is then read as a date).
std::optional<QDate> IZSRC_PERIOD(const QString& text);

// The text of the automation error box: the last error, the operation, the
// description and the arguments as a list, one per line.
QString IZSRC_GRESKA(const platform::WorkbookError& e);

// The first sheet as the window reads it: cell by cell, though cells asked
// for beforehand come in one exchange with the workbook. A failed exchange
// loses nothing: the cells are then read one by one, so the read stops
// exactly at the cell that fails.
class IzsrcSheet {
 public:
  explicit IzsrcSheet(platform::Workbook& book) : book_(book) {}
  void prefetch(const std::vector<platform::CellPos>& positions);
  // One cell, 0-based; throws WorkbookError.
  platform::Cell cell(int column, int row);
  platform::Workbook& book() { return book_; }

 private:
  platform::Workbook& book_;
  std::map<std::pair<int, int>, platform::Cell> cache_;
  // The error of a failed exchange, shown when the next single read fails
  // too (the workbook may have been ended by it).
  std::optional<platform::WorkbookError> pending_;
};

}  // namespace korvan
