#include "update/handover.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "common/apppath.h"
#include "common/files.h"
#include "common/msg.h"
#include "platform/savefile.h"
#include "platform/shell.h"
#include "update/check.h"
#include "update/ssh.h"

namespace korvan {
namespace {

QString text(const char* s) { return QString::fromUtf8(s); }

// The entry of the file itself (its folder's listing, the name matched
// ignoring letter case); nothing when it does not exist.
std::optional<DirEntry> entryOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  const QString name = path.mid(slash + 1);
  for (const DirEntry& e : DIRECTORY2(path))
    if (e.name.compare(name, Qt::CaseInsensitive) == 0) return e;
  return std::nullopt;
}

QString noteOf(const DirEntry& e) {
  return e.name + QStringLiteral("\r\n") + QString::number(e.size) + QStringLiteral("\r\n") +
         e.date.toString(Qt::ISODate) + u' ' + e.time + QStringLiteral("\r\n");
}

QByteArray readNote(const QString& path) {
  QByteArray bytes;
  return READ_FILE(path, &bytes, true) ? bytes : QByteArray();
}

}  // namespace

QString GETEXEFILENAME() { return GETAPPPATH() + GETEXENAME(); }

QString UPD_BELESKA() { return QStringLiteral("PREDATO.TXT"); }

UpdPredaja UPD_PREDAJA(const QString& folderArg, const QString& extra, MyFRAME* progress) {
  const QString exePath = GETEXEFILENAME();
  const qsizetype slash = exePath.lastIndexOf(u'/');
  const QString exeName = exePath.mid(slash + 1);
  const QString exeFolder = slash < 0 ? QString() : exePath.left(slash);
  QString folder = folderArg;
  if (folder.left(4) == QLatin1String("ssh>") && !RADI_SSH(folder, exeFolder, exeName, exePath, progress))
    return UpdPredaja::Nema;
  if (folder.endsWith(u'/')) folder.chop(1);
  const QString note = folder + u'/' + UPD_BELESKA();

  const std::optional<DirEntry> waiting = entryOf(folder + u'/' + exeName);
  if (!waiting) {
    QFile::remove(note);  // what it noted is gone: installed, or removed by hand
    return UpdPredaja::Nema;
  }
  const std::optional<DirEntry> running = entryOf(exePath);
  if (!running || !NOVIJI_FAJL(running->date, running->time, waiting->date, waiting->time)) return UpdPredaja::Nema;

  const QString waitingPath = folder + u'/' + waiting->name;
  if (readNote(note) == noteOf(*waiting).toUtf8()) {
    QString check = waiting->name.toLower();
    if (check.endsWith(QStringLiteral(".exe"))) check.chop(4);
    QFile::remove(waitingPath);
    QFile::remove(FIND_FILE(folder + u'/' + check + QStringLiteral(".sfv")));
    QFile::remove(note);
    return UpdPredaja::NijeAktivirana;
  }

  const QFileInfo updater(exeFolder + QStringLiteral("/update"));
  if (!updater.isFile() || !updater.isExecutable()) return UpdPredaja::NijePokrenut;
  QStringList args = {waitingPath, exePath};
  if (!extra.isEmpty()) args << extra;
  // Noted before the start, so that even a crash after it cannot bring a loop.
  if (!platform::saveFileAtomically(note, noteOf(*waiting).toUtf8())) return UpdPredaja::NijePokrenut;
  if (!platform::shell().startProgram(updater.filePath(), args)) {
    QFile::remove(note);
    return UpdPredaja::NijePokrenut;
  }
  return UpdPredaja::Predato;
}

bool PROVERI_NOVU_VERZIJU(const QString& folder, const QString& extra, MyFRAME* progress) {
  switch (UPD_PREDAJA(folder, extra, progress)) {
    case UpdPredaja::Predato:
      return true;
    case UpdPredaja::NijePokrenut:
      MSG(text("Nije moguće pokrenuti program za ažuriranje!"));
      return false;
    case UpdPredaja::NijeAktivirana:
      MSG(text("Nova verzija nije aktivirana, ponovite UPDATE."));
      return false;
    case UpdPredaja::Nema:
      return false;
  }
  return false;
}

}  // namespace korvan
