#include "einvoice/myeracun.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "common/files.h"
#include "common/msg.h"
#include "einvoice/ublwriter.h"
#include "platform/savefile.h"
#include "platform/shell.h"

namespace korvan {
QStringList AERACUNI_POSREDNIK() {
  return {QStringLiteral("Ministarstvo finansija"), QStringLiteral("Privatni posrednik")};
}

QString writeUblDocument(MyERACUN& r, bool withPdf) {
  if (withPdf) {
    QFile pdf(r.cFN_PDF_FULL);
    QByteArray bytes;
    if (pdf.open(QIODevice::ReadOnly)) bytes = pdf.readAll();
    if (!pdf.isOpen() || pdf.error() != QFileDevice::NoError)
      return QString::fromUtf8("Greška pri čitanju PDF fajla!\n%1\nXML fajl nije napravljen.").arg(r.cFN_PDF_FULL);
    r.cBASE64_PDF = QString::fromLatin1(bytes.toBase64());
  }
  if (const QString problem = UBL_PROVERI(r); !problem.isEmpty()) return problem;
  // Written beside the old document and renamed over it: a failed write keeps the old one.
  if (!platform::saveFileAtomically(r.cFN_XML_FULL, UBL_DOCUMENT(r), nullptr, platform::DiskSync::NoDiskSync))
    return QString::fromUtf8("Greška pri kreiranju XML fajla!\n%1\nProverite da li neko već pravi ovaj eRačun!")
        .arg(r.cFN_XML_FULL);
  return QString();
}

bool MyERACUN::PisiXML() {
  cFN_XML_FULL = UBL_XML_NAME(cFN_PDF_FULL);
  const QString problem = writeUblDocument(*this, QFileInfo(cFN_PDF_FULL).isFile());
  return problem.isEmpty() || MSG(problem);
}

bool MyERACUN::KOPIRAJ(const QString& folder, bool neOtvaraj) {
  bool ok = true;
  if (QFileInfo(cFN_PDF_FULL).isFile()) ok = KOPI_FAJL(folder, cFN_PDF_FULL);
  if (ok) ok = KOPI_FAJL(folder, cFN_XML_FULL);
  if (!ok) return MSG(QString::fromUtf8("Greška pri kopiranju u folder:\n") + folder);
  if (!neOtvaraj) platform::shell().openDocument(folder.trimmed());
  return true;
}

bool MyERACUN::PretKontrola() {
  QStringList lines;
  if (cFIRMA_PIB.isEmpty()) lines << QString::fromUtf8("Nije unet PIB firme");
  if (cFIRMA_MATBROJ.isEmpty()) lines << QString::fromUtf8("Nije unet MATIČNI BROJ firme");
  if (cKOMIT_PIB.isEmpty()) lines << QString::fromUtf8("Nije unet PIB kupca");
  if (cKOMIT_MATBROJ.isEmpty()) lines << QString::fromUtf8("Nije unet MATIČNI BROJ kupca");
  if (cKOMIT_JBKJS.isEmpty())
    lines << QString::fromUtf8(
        "Za javna preduzeća: Nije unet JBKJS kupca (unosi se u 'Dodatnim podacima', kod matičnih podataka kupca)");
  if (cUGOVOR.isEmpty())
    lines << QString::fromUtf8(
        "Za javna preduzeća: Nije unet UGOVOR kupca (unosi se u 'Dodatnim podacima', kod matičnih podataka kupca)");
  if (lines.isEmpty()) return true;
  QString text = QString::fromUtf8("Moguće greške koje će Vam vratiti sajt pri pokušaju slanja eRačuna:");
  for (const QString& l : lines) text += '\n' + l;
  text += QString::fromUtf8("\nDa li sigurno želite da napravite eRačun?");
  return MSGYESNO(text);
}

bool KOPI_FAJL(const QString& folder, const QString& file) {
  QString dir = folder;
  if (!dir.endsWith('/') && !dir.endsWith('\\')) dir += '/';
  QFile src(file);
  if (!src.open(QIODevice::ReadOnly)) return false;
  const QString target = dir + QFileInfo(file).fileName();
  if (QFileInfo(target).absoluteFilePath() == QFileInfo(file).absoluteFilePath()) return true;
  QFile dst(target);
  if (!dst.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const qint64 copied = copyBlocks(src, dst, 1 << 20);
  const QDateTime modified = QFileInfo(file).lastModified();
  dst.close();
  if (copied < 0 || dst.error() != QFileDevice::NoError) return false;
  QFile stamp(target);
  if (stamp.open(QIODevice::ReadWrite)) stamp.setFileTime(modified, QFileDevice::FileModificationTime);
  return copied == src.size();
}

}  // namespace korvan
