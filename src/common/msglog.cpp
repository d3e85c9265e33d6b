#include <QDateTime>
#include <QDir>
#include <QFile>

#include "common/apppath.h"
#include "common/msg.h"

namespace korvan {

void PISI_LOG(const QString& text) {
  const QString folder = GETAPPPATH() + QStringLiteral("LOG");
  QDir().mkpath(folder);
  QFile f(folder + QStringLiteral("/MSG.TXT"));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return;
  const QDateTime now = QDateTime::currentDateTime();
  const QByteArray line = now.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")).toUtf8() + ' ' +
                          text.toUtf8() + "\r\n";
  f.write(line);
}

}  // namespace korvan
