#include "support/pyserver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace korvan::test {

int startPythonServer(std::unique_ptr<QProcess>& proc, const QStringList& arguments, const QString& folder,
                      QString* error) {
  proc = std::make_unique<QProcess>();
  proc->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  proc->setStandardOutputFile(QProcess::nullDevice());
  proc->start(QStringLiteral("/usr/bin/python3"), arguments);
  if (!proc->waitForStarted(10000)) return (*error = QStringLiteral("python3 did not start")), 0;
  QDeadlineTimer deadline(15000);
  QFile portFile(folder + QStringLiteral("/port"));
  while (!portFile.exists()) {
    if (deadline.hasExpired() || proc->state() != QProcess::Running)
      return (*error = QStringLiteral("the server did not come up")), 0;
    QThread::msleep(20);
  }
  if (!portFile.open(QIODevice::ReadOnly)) return (*error = QStringLiteral("port file")), 0;
  const int port = portFile.readAll().trimmed().toInt();
  if (port <= 0) *error = QStringLiteral("no port in the port file");
  return port;
}

void stopPythonServer(std::unique_ptr<QProcess>& proc) {
  if (!proc) return;
  proc->closeWriteChannel();
  if (!proc->waitForFinished(3000)) {
    proc->kill();
    proc->waitForFinished(3000);
  }
  proc.reset();
}

}  // namespace korvan::test
