#pragma once
// An FTP server for tests on 127.0.0.1 (python3-pyftpdlib, run with
// /usr/bin/python3, in its own process), on a free port. One account (user()
// and password()) logs into root(); the files a test puts there are served.
// Faults on demand: names whose transfer is cut half way (cut()), and a
// server that accepts connections and never greets (Mode::Silent).
// closedPort() gives a port on which nothing listens.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace korvan::test {

class FtpPeer {
 public:
  enum class Mode { Normal, Silent };
  explicit FtpPeer(Mode mode = Mode::Normal);
  ~FtpPeer();
  FtpPeer(const FtpPeer&) = delete;
  FtpPeer& operator=(const FtpPeer&) = delete;

  // Starts the server; false with error() set when it does not come up.
  bool start();
  void stop();
  QString error() const { return error_; }
  int port() const { return port_; }
  QString host() const;  // "127.0.0.1:<port>"
  QString root() const;  // the login folder
  static QString user() { return QStringLiteral("korvan-test"); }
  static QString password() { return QStringLiteral("tajna123"); }

  // Creates root()/path (folders included) with the bytes.
  bool put(const QString& path, const QByteArray& bytes) const;
  // Transfers of these file names send half the file and then end as if whole.
  void cut(const QStringList& names) const;
  // The paths (below root) of every file the server finished sending, in order.
  QStringList sent() const;

  static int closedPort();

 private:
  Mode mode_;
  QTemporaryDir dir_;
  std::unique_ptr<QProcess> proc_;
  QString error_;
  int port_ = 0;
};

}  // namespace korvan::test
