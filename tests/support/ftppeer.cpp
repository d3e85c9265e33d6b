#include "support/ftppeer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/savefile.h"
#include "support/pyserver.h"

namespace korvan::test {

extern const char* const kFtpPeerScript;

FtpPeer::FtpPeer(Mode mode) : mode_(mode) {}

FtpPeer::~FtpPeer() { stop(); }

QString FtpPeer::host() const { return QStringLiteral("127.0.0.1:") + QString::number(port_); }

QString FtpPeer::root() const { return dir_.path() + QStringLiteral("/root"); }

bool FtpPeer::start() {
  if (!dir_.isValid()) return (error_ = QStringLiteral("no temporary folder")), false;
  const QString d = dir_.path();
  if (!QDir().mkpath(root())) return (error_ = QStringLiteral("no root folder")), false;
  if (!platform::saveFileAtomically(d + QStringLiteral("/ftppeer.py"), kFtpPeerScript))
    return (error_ = QStringLiteral("ftppeer.py")), false;
  port_ = startPythonServer(proc_,
                            {d + QStringLiteral("/ftppeer.py"), d,
                             mode_ == Mode::Silent ? QStringLiteral("silent") : QStringLiteral("normal"), user(),
                             password()},
                            d, &error_);
  if (!port_) error_ += QStringLiteral(" (python3-pyftpdlib installed?)");
  return port_ > 0;
}

void FtpPeer::stop() { stopPythonServer(proc_); }

bool FtpPeer::put(const QString& path, const QByteArray& bytes) const {
  const QString full = root() + u'/' + path;
  return QDir().mkpath(QFileInfo(full).path()) && platform::saveFileAtomically(full, bytes);
}

void FtpPeer::cut(const QStringList& names) const {
  platform::saveFileAtomically(dir_.path() + QStringLiteral("/cut.txt"), (names.join(u'\n') + u'\n').toUtf8());
}

QStringList FtpPeer::sent() const {
  QFile f(dir_.path() + QStringLiteral("/sent.txt"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

int FtpPeer::closedPort() {
  // A port the system just gave out and took back: nothing listens there.
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 9;
  if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  if (fd >= 0) ::close(fd);
  return port;
}

}  // namespace korvan::test
