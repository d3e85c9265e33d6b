#pragma once
// The free entry window's lines from a workbook of one fixed layout: sheet
// 1, one line per row from row 2 to the last used row, the cells of each in
// columns C (code), AZ (name), BA (unit), E (quantity), T (price without
// VAT), J (discount %) and AB (VAT rate %). Text columns read whole numbers
// as their rounded value; the rate is the cell's number as it is (a cell of
// 20 % held as 0.2 gives 0.2). A blank row is a blank line.
#include <QList>
#include <QString>
#include <optional>

#include "platform/workbook.h"

namespace korvan {

struct YtStavka {
  QString sifra, naziv, jmere;
  double kolicina = 0, cenb = 0, rabatp = 0, stopa = 0;
};

// The lines read from an open workbook, and the error that stopped the read
// part-way (the lines before it are kept). Shows nothing.
struct YtRead {
  QList<YtStavka> lines;
  std::optional<platform::WorkbookError> error;
};
YtRead readYtLines(platform::Workbook& book);

// Opens the workbook through the backend in force, appends its lines to
// lines under the wait cursor and closes it. An error shows the automation
// box (after the cursor is restored) and keeps the lines appended before it;
// true when the workbook was read to its end.
bool UZMI_YT_STAVKE(QList<YtStavka>& lines, const QString& path);

}  // namespace korvan
