// The manager window's saving of a period and preparing of one invoice for
// mail: the stored documents written into IZLAZNI|ULAZNI/YYYY-MM-DD below
// the folders of "Podešavanja aplikacije".
#include <QWidget>

#include "common/dates.h"
#include "einvoice/ui/efmdblist.h"
#include "common/files.h"
#include "common/globals.h"
#include "common/msg.h"
#include "einvoice/libefm2.h"
#include "platform/shell.h"
#include "ui/frame.h"
#include "ui/sq.h"
#include "windows/korvanman_model.h"
#include "windows/mykorvanman.h"

namespace korvan {
namespace {

QString notSet(const char* what) {
  return QString::fromUtf8("Nije podešen folder za ") + QString::fromUtf8(what) +
         QString::fromUtf8("!\nUnesite ga u opciji 'Podešavanja aplikacije', pa ponovite...");
}

// Creates every level of the folder; false after a message.
bool makeFolder(const QString& path) {
  if (PRAVI_DIR_FULL(path)) return true;
  return MSG(QStringLiteral("Ne mogu da napravim folder ") + path);
}

// The three files of one invoice, each only while the ones before succeeded.
bool writeFiles(const QString& folder, qint64 id, const QString& xml, const QString& partner) {
  for (const kman::Fajl& f : kman::fajlovi(id, partner))
    if (!EFM_SNIMI_OTVORI_FAJL_IZ_XML(f.element, xml, f.name, folder, f.extension, true)) return false;
  return true;
}

}  // namespace

void MyKORVANMAN::UPIT_CUVAJ() {
  const QString setting = G_CFOLDER_CUVANJE();
  const QString remembered = GETINI(QStringLiteral("POSL_CUVAJ_DAT2"), QStringLiteral("KorvanMan"));
  QDate start = remembered.trimmed().isEmpty() ? TODAY() : CTOD(remembered);
  if (!start.isValid()) start = TODAY();
  QDate end = TODAY();
  if (setting.trimmed().isEmpty()) {
    MSG(notSet("čuvanje"));
    return;
  }
  if (!SQ({{.label = QString::fromUtf8("Početni datum izdavanja"), .value = SQ_VAR(start)},
           {.label = QStringLiteral("Krajnji datum izdavanja"), .value = SQ_VAR(end)}},
          QStringLiteral(":/res/snimi.png"), oFont, QStringLiteral("Snimanje dokumenata u folder")))
    return;
  if (FUNC_CUVAJ(oSERVER_EFM, cFIRMA_PIB, lMULTI_FIRMA, start, end))
    MSGINFO(QString::fromUtf8("Ulazni i izlazni dokumenti su sačuvani u folderu\n") + setting);
}

bool MyKORVANMAN::FUNC_CUVAJ(const QVariant& server, const QString& pib, bool multi, const QDate& start,
                             const QDate& end) {
  const QString base = kman::folder(G_CFOLDER_CUVANJE());
  // A stop or a failure in the incoming invoices ends the whole save.
  Cuvanje r = CUVAJ_UI(QStringLiteral("U"), base, start, end, server, multi, pib);
  if (r == Cuvanje::Uspelo) r = CUVAJ_UI(QStringLiteral("I"), base, start, end, server, multi, pib);
  if (r != Cuvanje::Uspelo) return false;
  PUTINI(QStringLiteral("POSL_CUVAJ_DAT2"), QStringLiteral("KorvanMan"), DTOC(end));
  return true;
}

MyKORVANMAN::Cuvanje MyKORVANMAN::CUVAJ_UI(const QString& direction, const QString& folder, const QDate& start,
                                           const QDate& end, const QVariant& server, bool multi,
                                           const QString& pib) {
  Q_UNUSED(multi)
  const QList<QVariantList> rows = EFMDB_PUNI_TABELA(server, direction, pib);
  const QString label = direction == QLatin1String(EFM_ULAZNI) ? QStringLiteral("Ulazni ") : QStringLiteral("Izlazni ");
  const QString count = QString::number(rows.size()).rightJustified(10);
  MyFRAME box(21, true);
  for (int i = 0; i < rows.size(); ++i) {
    box.Disp(label + QString::number(i + 1).rightJustified(10) + u'/' + count);
    if (box.lPREKID) return Cuvanje::Prekinuto;
    const QDate issued = rows[i].value(LR_DATIZD).toDate();
    if (!issued.isValid() || issued < start || issued > end) continue;
    const QString dateFolder = kman::dateFolder(folder, direction, issued);
    if (!makeFolder(dateFolder)) return Cuvanje::Greska;
    const EfmdbSlog row{rows[i].value(LR_RECNO).toUInt(), direction, rows[i].value(LR_ID).toLongLong()};
    qint64 id = 0;
    QString xml, partner;
    if (!EFMDB_UZMI_IZ_BAZE(server, row, &id, &xml, nullptr, &partner)) return Cuvanje::Greska;
    if (!writeFiles(dateFolder, id, xml, partner)) return Cuvanje::Greska;
  }
  return Cuvanje::Uspelo;
}

void MyKORVANMAN::SALJI_MEJLOM() {
  const QString base = kman::folder(G_CFOLDER_SALJI_MEJLOM());
  if (base.trimmed().isEmpty()) {
    MSG(notSet("slanje mejlom"));
    return;
  }
  const auto row = SELEKTOVAN();
  if (!row) return;
  qint64 id = 0;
  QString xml, partner;
  QDate issued;
  if (!EFMDB_UZMI_IZ_BAZE(oSERVER_EFM, *row, &id, &xml, &issued, &partner)) return;
  const QString dateFolder = kman::dateFolder(base, cUI, issued);
  if (!makeFolder(dateFolder)) return;
  writeFiles(dateFolder, id, xml, partner);
  // Opened whatever the writes gave: the user sees what is there.
  platform::shell().openDocument(dateFolder.trimmed());
}

}  // namespace korvan
