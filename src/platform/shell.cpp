#include "platform/shell.h"

#include <QFileInfo>
#include <QProcess>
#include <utility>

namespace korvan::platform {
namespace {

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
    if (!isWebOrFileLink(url)) return false;
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
Shell* setShell(Shell* s) { return std::exchange(current, s); }

bool isWebOrFileLink(const QUrl& url) {
  const QString s = url.scheme().toLower();
  return url.isValid() && (s == QLatin1String("http") || s == QLatin1String("https") ||
                           s == QLatin1String("file"));
}

}  // namespace korvan::platform
