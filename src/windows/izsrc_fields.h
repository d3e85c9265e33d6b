#pragma once
// The header fields and line columns of the spreadsheet import window, in
// the order in which it builds, reads and remembers them.
#include <QList>

#include "windows/izsrc.h"

namespace korvan::izsrc {

enum class Read { Text, Whole, Date, Period };

struct HeaderField {
  const char* key;      // widget suffix; the INI key is "CEL_" + key
  const char* caption;  // UTF-8
  Read read;
  QPointer<QLabel> MyIZSRC::*label;
  QPointer<QLineEdit> MyIZSRC::*address;
  QPointer<QLineEdit> MyIZSRC::*text;  // nullptr for the dates
  QPointer<QDateEdit> MyIZSRC::*date;  // nullptr for the texts
  int gridRow, gridColumn;  // of the label; address and value follow it
  int valueSpan;            // columns of the value widget
};

struct LineColumn {
  const char* field;    // field name of the line table and INI key
  const char* caption;  // UTF-8
  QPointer<QLabel> MyIZSRC::*label;
  QPointer<QLineEdit> MyIZSRC::*letters;
};

const QList<HeaderField>& headerFields();
// In the order of the settings and of the grid.
const QList<LineColumn>& lineColumns();

}  // namespace korvan::izsrc
