#include "ui/izbfajla.h"

#include <QApplication>
#include <QDir>

namespace korvan {

std::optional<QString> IZBOR_FAJLA(const FileFilters& filters, const QString& title) {
  QStringList patterns;
  for (const FileFilter& f : filters)
    for (const QString& p : FILTER_PATTERNS(f.pattern))
      if (!patterns.contains(p)) patterns << p;
  FileDialogRequest r;
  r.mode = FileDialogRequest::AnyFile;
  r.title = title;
  if (!patterns.isEmpty()) r.nameFilters << patterns.join(QLatin1Char(' '));
  r.owner = QApplication::activeWindow();
  const QStringList chosen = runFileDialog(r);
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(chosen.first());
}

}  // namespace korvan
