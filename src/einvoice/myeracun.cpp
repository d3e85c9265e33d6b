#include "einvoice/myeracun.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "common/msg.h"
#include "einvoice/libkorvan.h"
#include "einvoice/ublwriter.h"
#include "platform/savefile.h"
#include "platform/shell.h"

namespace korvan {
QStringList AERACUNI_POSREDNIK() {
  return {QStringLiteral("Ministarstvo finansija"), QStringLiteral("Privatni posrednik")};
}

bool MyERACUN::PisiXML() {
  cFN_XML_FULL = UBL_XML_NAME(cFN_PDF_FULL);
  if (QFileInfo(cFN_PDF_FULL).isFile()) {
    QFile pdf(cFN_PDF_FULL);
    QByteArray bytes;
    if (pdf.open(QIODevice::ReadOnly)) bytes = pdf.readAll();
    if (!pdf.isOpen() || pdf.error() != QFileDevice::NoError)
      return MSG(QString::fromUtf8("Greška pri čitanju PDF fajla!\n%1\nXML fajl nije napravljen.").arg(cFN_PDF_FULL));
    cBASE64_PDF = QString::fromLatin1(bytes.toBase64());
  }
  const QString problem = UBL_PROVERI(*this);
  if (!problem.isEmpty()) return MSG(problem);
  // Written beside the old document and renamed over it: a failed write keeps the old one.
  if (!platform::saveFileAtomically(cFN_XML_FULL, UBL_DOCUMENT(*this), nullptr, platform::DiskSync::NoDiskSync))
    return MSG(QString::fromUtf8("Greška pri kreiranju XML fajla!\n%1\nProverite da li neko već pravi ovaj eRačun!")
                   .arg(cFN_XML_FULL));
  return true;
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

}  // namespace korvan
