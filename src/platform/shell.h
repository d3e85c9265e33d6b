#pragma once
// Opening documents, folders and links with the desktop's own handler, and
// starting programs. Everything goes through shell(), so tests can install a
// recorder of their own (tests/support) and see what would have been opened.
#include <QString>
#include <QStringList>
#include <QUrl>

namespace korvan::platform {

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
// Installs s (not owned); nullptr puts the real shell back. Returns the shell
// installed before (nullptr: the real one), for putting it back.
Shell* setShell(Shell* s);

// True for a valid http, https or file link: the only links openUrl opens.
bool isWebOrFileLink(const QUrl& url);

}  // namespace korvan::platform
