#include "platform/shell.h"

#include <QFileInfo>
#include <QProcess>

namespace korvan {
namespace {

bool isWebOrFile(const QUrl& url) {
  const QString s = url.scheme().toLower();
  return url.isValid() && (s == QLatin1String("http") || s == QLatin1String("https") ||
                           s == QLatin1String("file"));
}

// xdg-open takes one file or URL; an absolute path or a link with a scheme
// never starts with "-", so it cannot be read as an option.
class DesktopShell : public Shell {
 public:
  bool openDocument(const QString& path) override {
    if (path.isEmpty()) return false;
    const QFileInfo fi(path);
    if (!fi.exists()) return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {fi.absoluteFilePath()});
  }
  bool openUrl(const QUrl& url) override {
    if (!isWebOrFile(url)) return false;
    if (url.isLocalFile()) return openDocument(url.toLocalFile());
    return QProcess::startDetached(QStringLiteral("xdg-open"),
                                   {url.toString(QUrl::FullyEncoded)});
  }
  bool startProgram(const QString& program, const QStringList& args,
                    const QString& folder) override {
    if (program.isEmpty()) return false;
    return QProcess::startDetached(program, args, folder);
  }
};

DesktopShell& desktopShell() {
  static DesktopShell s;
  return s;
}

Shell* current = nullptr;

}  // namespace

Shell& shell() { return current ? *current : desktopShell(); }
void setShell(Shell* s) { current = s; }

RecordingShell::RecordingShell() : previous_(current) { current = this; }
RecordingShell::~RecordingShell() {
  if (current == this) current = previous_;
}

bool RecordingShell::openDocument(const QString& path) {
  calls << Call{QStringLiteral("document"), path, {}, {}};
  return result;
}

bool RecordingShell::openUrl(const QUrl& url) {
  calls << Call{QStringLiteral("url"), url.toString(QUrl::FullyEncoded), {}, {}};
  return result && isWebOrFile(url);
}

bool RecordingShell::startProgram(const QString& program, const QStringList& args,
                                  const QString& folder) {
  calls << Call{QStringLiteral("program"), program, args, folder};
  return result;
}

}  // namespace korvan
