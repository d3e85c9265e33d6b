// The updater: update <new copy> <running program> [extra]. Installs the new
// copy over the running program and starts it; on any failure the old program
// stays as it was, one line goes to "update.log" in the new copy's folder and
// the old program is started.
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "install.h"

namespace {

void logLine(const QString& folder, const QString& line) {
  QFile log(folder + QStringLiteral("/update.log"));
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  log.write((QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss ")) + line + QStringLiteral("\r\n"))
                .toUtf8());
}

bool start(const QString& program) {
  return QProcess::startDetached(program, {}, QFileInfo(program).absolutePath());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 3) {
    std::fputs("update <new copy> <running program> [extra]\n", stderr);
    return 2;
  }
  const QString fresh = args[1];
  const QString program = args[2];
  const QString folder = QFileInfo(fresh).absolutePath();
  const QString failure = korvan::updater::install(fresh, program);
  if (!failure.isEmpty()) {
    logLine(folder, failure);
    if (!start(program)) logLine(folder, QString::fromUtf8("Ne mogu da pokrenem program ") + program);
    return 1;
  }
  if (!start(program)) {
    logLine(folder, QString::fromUtf8("Nova verzija je postavljena, ali ne mogu da je pokrenem: ") + program);
    return 1;
  }
  return 0;
}
