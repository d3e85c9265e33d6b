#pragma once
// A shell for tests: records every request instead of opening anything and
// answers `result` (a link that the real shell would refuse is refused too).
// Installs itself for its lifetime and puts the shell before it back at the
// end, so they nest.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "platform/shell.h"

namespace korvan {

class RecordingShell : public platform::Shell {
 public:
  struct Call {
    QString op;        // "document", "url" or "program"
    QString target;    // path, link or program
    QStringList args;  // program arguments
    QString folder;    // program folder
  };
  RecordingShell();
  ~RecordingShell() override;
  RecordingShell(const RecordingShell&) = delete;
  RecordingShell& operator=(const RecordingShell&) = delete;
  bool openDocument(const QString& path) override;
  bool openUrl(const QUrl& url) override;
  bool startProgram(const QString& program, const QStringList& args,
                    const QString& folder = QString()) override;

  QList<Call> calls;
  bool result = true;

 private:
  platform::Shell* previous_ = nullptr;
};

}  // namespace korvan
