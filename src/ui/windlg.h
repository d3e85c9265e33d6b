#pragma once
// Open and save file dialogs with described filters ({"PDF fajlovi", "*.pdf"}).
//
// Every dialog goes through one runner: QFileDialog unless a test installed
// another (ScriptedFileDialogs answers from a queue and keeps the requests).
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QWidget;

namespace korvan {

// A filter of the open dialog: its description and its patterns, several
// patterns joined by ";" ("*.xls;*.xlsx").
struct FileFilter {
  QString description;
  QString pattern;
};
using FileFilters = QList<FileFilter>;

// What a file dialog is asked to do.
struct FileDialogRequest {
  enum Mode {
    Open,      // one existing file
    OpenMany,  // one or more existing files
    Save,      // an existing file, under a default name; no overwrite question
    AnyFile,   // an existing file or a typed name of a new one (detail view)
    Folder,    // one folder (folders only, detail view)
  };
  Mode mode = Open;
  QString title;            // empty: the platform's own title
  QString folder;           // empty: the platform's choice
  QStringList nameFilters;  // "PDF fajlovi (*.pdf *.PDF)"; empty: every file
  QString defaultName;      // Save: the name offered at start
  QWidget* owner = nullptr; // the active window when the dialog was asked for
};

// Runs a dialog: the chosen paths, an empty list when the user cancelled.
using FileDialogRunner = std::function<QStringList(const FileDialogRequest&)>;
// Installs a runner; an empty one puts QFileDialog back.
void setFileDialogRunner(FileDialogRunner runner);
// Runs the request through the runner in force. The program's current folder
// is the same after the dialog as before it.
QStringList runFileDialog(const FileDialogRequest& request);

// The patterns of a filter as the dialog matches them: ";" and blanks
// separate patterns, each is offered in lower and in upper case ("*.pdf" ->
// "*.pdf *.PDF"), and "*.*" stands for every file.
QStringList FILTER_PATTERNS(const QString& pattern);

// The open dialog over the filters (the first is preselected), owned by the
// active window; only existing files can be chosen. With multiple false the
// answer is a text: the chosen path, "" when cancelled. With multiple true it
// is a QStringList of the chosen paths (all of them, in the dialog's order),
// empty when cancelled. Paths use the platform's separators. The current
// folder never changes, whatever keepFolder says.
QVariant WINDLG_GETFILE(const FileFilters& filters = {}, const QString& title = QString(),
                        const QString& folder = QString(), bool multiple = false,
                        bool keepFolder = false);

// The save dialog: the chosen path, "" when cancelled. Only an existing file
// can be chosen, and there is no overwrite question.
QString WINDLG_PUTFILE(const FileFilters& filters = {}, const QString& title = QString(),
                       const QString& folder = QString(), bool keepFolder = false,
                       const QString& defaultName = QString());

// Answers file dialogs from a queue instead of showing them, and keeps every
// request; installs itself for its lifetime. An empty answer is a cancel, and
// so is every dialog after the answers run out.
class ScriptedFileDialogs {
 public:
  ScriptedFileDialogs();
  ~ScriptedFileDialogs();
  ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
  ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

  QList<QStringList> answers;
  QList<FileDialogRequest> requests;
  // Optional: run for each request before answering; a non-empty result is the answer.
  std::function<QStringList(const FileDialogRequest&)> onRequest;

 private:
  FileDialogRunner previous_;
};

}  // namespace korvan
