#include "support/recordingshell.h"

namespace korvan {

RecordingShell::RecordingShell() : previous_(platform::setShell(this)) {}
RecordingShell::~RecordingShell() {
  if (&platform::shell() == this) platform::setShell(previous_);
}

bool RecordingShell::openDocument(const QString& path) {
  calls << Call{QStringLiteral("document"), path, {}, {}};
  return result;
}

bool RecordingShell::openUrl(const QUrl& url) {
  calls << Call{QStringLiteral("url"), url.toString(QUrl::FullyEncoded), {}, {}};
  return result && platform::isWebOrFileLink(url);
}

bool RecordingShell::startProgram(const QString& program, const QStringList& args,
                                  const QString& folder) {
  calls << Call{QStringLiteral("program"), program, args, folder};
  return result;
}

}  // namespace korvan
