#pragma once
// A list of rows in a table inside a maximised modal dialog: the program's row
// picker (exemption reasons, buyers, articles) and a plain view of any list.
#include <QFont>
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

#include "ui/kolona.h"

namespace korvan {

// data: the rows. They are two-dimensional when the first element is a list
// (a QVariantList or QStringList of cell values per row); otherwise every
// element is the one cell of its row. The table has as many columns as the
// first row has cells; a shorter row leaves its last cells empty.
// font: of the dialog and its table.
// pick: the picker: titled `title`, a double click chooses the row. Otherwise
//   the dialog is titled "Debug array".
// kolone: one descriptor per column: caption, length (width), decimals, type,
//   alignment; lTOTAL makes the column's cells editable. Columns without a
//   descriptor stay empty. Without descriptors every value is shown as text.
// keepWidths: in pick mode keep the descriptors' widths; otherwise the
//   columns are fitted to their contents.
// edit: "Ok" writes the cells that the user changed back into data, each read
//   by its column's type; columns without a descriptor are left as they were.
// search: the search bar ("Nađi (F7)", "Sledeći (F3)") over the table.
//
// Answers the 1-based number of the chosen row ("Ok" takes the current row),
// 0 for none (Esc, the close button, no current row). In edit mode: 1 when the
// user confirmed and the data was written back, 0 otherwise. Empty data shows
// "Nema ništa za pregled!" (pick mode) or "Prazan niz!" and answers 0.
int DISP_DEBUG_ARRAY(QVariantList& data, const std::optional<QFont>& font = std::nullopt,
                     bool pick = false, const QString& title = QString(),
                     const QList<MyKOLONA>& kolone = {}, bool keepWidths = false,
                     bool edit = false, bool search = false);

}  // namespace korvan
