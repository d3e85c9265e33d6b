#include "ui/windlg.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

namespace korvan {
namespace {

QStringList qtFileDialog(const FileDialogRequest& r) {
  QFileDialog d(r.owner, r.title, r.folder);
  if (!r.nameFilters.isEmpty()) d.setNameFilters(r.nameFilters);
  switch (r.mode) {
    case FileDialogRequest::Open:
      d.setFileMode(QFileDialog::ExistingFile);
      break;
    case FileDialogRequest::OpenMany:
      d.setFileMode(QFileDialog::ExistingFiles);
      break;
    case FileDialogRequest::Save:
      d.setAcceptMode(QFileDialog::AcceptSave);
      d.setFileMode(QFileDialog::ExistingFile);
      d.setOption(QFileDialog::DontConfirmOverwrite);
      if (!r.defaultName.isEmpty()) d.selectFile(r.defaultName);
      break;
    case FileDialogRequest::AnyFile:
      d.setFileMode(QFileDialog::AnyFile);
      d.setViewMode(QFileDialog::Detail);
      break;
    case FileDialogRequest::Folder:
      d.setFileMode(QFileDialog::Directory);
      d.setOption(QFileDialog::ShowDirsOnly);
      d.setViewMode(QFileDialog::Detail);
      break;
  }
  if (d.exec() != QDialog::Accepted) return {};
  return d.selectedFiles();
}

FileDialogRunner& customRunner() {
  static FileDialogRunner r;
  return r;
}

// "PDF fajlovi (*.pdf *.PDF)", or the patterns alone without a description.
QStringList qtFilters(const FileFilters& filters) {
  QStringList out;
  for (const FileFilter& f : filters) {
    const QString patterns = FILTER_PATTERNS(f.pattern).join(QLatin1Char(' '));
    const QString desc = f.description.trimmed();
    out << (desc.isEmpty() ? patterns : desc + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return out;
}

QStringList native(QStringList paths) {
  for (QString& p : paths) p = QDir::toNativeSeparators(p);
  return paths;
}

}  // namespace

void setFileDialogRunner(FileDialogRunner runner) { customRunner() = std::move(runner); }

QStringList runFileDialog(const FileDialogRequest& request) {
  const QString before = QDir::currentPath();
  const QStringList chosen = customRunner() ? customRunner()(request) : qtFileDialog(request);
  if (QDir::currentPath() != before) QDir::setCurrent(before);
  return chosen;
}

QStringList FILTER_PATTERNS(const QString& pattern) {
  QStringList out;
  const QStringList parts =
      pattern.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
  for (const QString& p : parts) {
    if (p == QLatin1String("*.*") || p == QLatin1String("*")) {
      if (!out.contains(QStringLiteral("*"))) out << QStringLiteral("*");
      continue;
    }
    for (const QString& v : {p.toLower(), p.toUpper()})
      if (!out.contains(v)) out << v;
  }
  return out;
}

QVariant WINDLG_GETFILE(const FileFilters& filters, const QString& title, const QString& folder,
                        bool multiple, bool keepFolder) {
  Q_UNUSED(keepFolder)  // the dialog never moves the current folder
  FileDialogRequest r;
  r.mode = multiple ? FileDialogRequest::OpenMany : FileDialogRequest::Open;
  r.title = title;
  r.folder = folder;
  r.nameFilters = qtFilters(filters);
  r.owner = QApplication::activeWindow();
  const QStringList chosen = native(runFileDialog(r));
  if (multiple) return chosen;
  return chosen.isEmpty() ? QString() : chosen.first();
}

QString WINDLG_PUTFILE(const FileFilters& filters, const QString& title, const QString& folder,
                       bool keepFolder, const QString& defaultName) {
  Q_UNUSED(keepFolder)
  FileDialogRequest r;
  r.mode = FileDialogRequest::Save;
  r.title = title;
  r.folder = folder;
  r.nameFilters = qtFilters(filters);
  r.defaultName = defaultName;
  r.owner = QApplication::activeWindow();
  const QStringList chosen = native(runFileDialog(r));
  return chosen.isEmpty() ? QString() : chosen.first();
}

ScriptedFileDialogs::ScriptedFileDialogs() : previous_(customRunner()) {
  customRunner() = [this](const FileDialogRequest& r) -> QStringList {
    requests << r;
    if (onRequest) {
      const QStringList a = onRequest(r);
      if (!a.isEmpty()) return a;
    }
    return answers.isEmpty() ? QStringList() : answers.takeFirst();
  };
}

ScriptedFileDialogs::~ScriptedFileDialogs() { customRunner() = previous_; }

}  // namespace korvan
