#pragma once
// Opening documents, folders and links with the desktop's own handler, and
// starting programs. Everything goes through shell(), so tests can install a
// RecordingShell and see what would have been opened.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace korvan {

class Shell {
 public:
  virtual ~Shell() = default;
  // A file or folder with its associated program; false when it does not
  // exist or the opener cannot be started.
  virtual bool openDocument(const QString& path) = 0;
  // An http(s) or file link; false for any other scheme or when the opener
  // cannot be started.
  virtual bool openUrl(const QUrl& url) = 0;
  // A program with an argument list (never through a command interpreter),
  // detached, in folder (empty: the current folder).
  virtual bool startProgram(const QString& program, const QStringList& args,
                            const QString& folder = QString()) = 0;
};

// The shell in force (the real one unless a test installed another).
Shell& shell();
// Installs s (not owned); nullptr puts the real shell back.
void setShell(Shell* s);

// Records every request instead of opening anything; installs itself for its
// lifetime and answers `result`.
class RecordingShell : public Shell {
 public:
  struct Call {
    QString op;        // "document", "url" or "program"
    QString target;    // path, link or program
    QStringList args;  // program arguments
    QString folder;    // program folder
  };
  RecordingShell();
  ~RecordingShell() override;
  bool openDocument(const QString& path) override;
  bool openUrl(const QUrl& url) override;
  bool startProgram(const QString& program, const QStringList& args,
                    const QString& folder = QString()) override;

  QList<Call> calls;
  bool result = true;
 private:
  Shell* previous_ = nullptr;
};

}  // namespace korvan
