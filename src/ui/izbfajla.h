#pragma once
// The toolkit's file dialog with a plain list of patterns, for workbooks.
#include <QString>
#include <optional>

#include "ui/windlg.h"

namespace korvan {

// A file dialog titled `title` whose one name filter is the filters'
// patterns joined by blanks (the descriptions are not shown), each in lower
// and upper case. The user may also type the name of a file that does not
// exist. Answers the first chosen file with the platform's separators, or
// nothing when the user cancels.
std::optional<QString> IZBOR_FAJLA(const FileFilters& filters, const QString& title = QString());

}  // namespace korvan
