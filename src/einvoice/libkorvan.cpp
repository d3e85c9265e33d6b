#include "einvoice/libkorvan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>

#include "common/files.h"
#include "common/ini.h"
#include "common/money.h"
#include "common/msg.h"
#include "common/numbers.h"
#include "common/texthelp.h"
#include "einvoice/taxcat.h"
#include "ui/msglink.h"

namespace korvan {
namespace {

QString caption(const QList<MyKOLONA>& kolone, const QString& polje) {
  const int i = KOLONA_PO_POLJU(kolone, polje);
  return i < 0 ? polje : QString(kolone[i].NASLOV).replace('\n', ' ');
}

// Reads and completes one row; false after a message when a number cell
// shows the asterisks of a value that does not fit its picture.
bool readRow(int row, const QTableWidget* t, const QList<MyKOLONA>& k, InvoiceLine& l, double& vredp) {
  static const char* numbers[] = {"KOLICINA", "CENB", "VREDB", "RABATP", "STOPA", "OSN", "VREDP"};
  double v[7];
  for (int i = 0; i < 7; ++i) {
    const QString polje = QString::fromLatin1(numbers[i]);
    const QString text = IZ_TABELE(polje, row, t, k);
    if (PICTURE_OVERFLOW(text)) {
      MSG(QString::fromUtf8("U %1. redu tabele, u koloni \"%2\", broj ne staje u prikaz (******)!\n"
                            "XML fajl nije napravljen.")
              .arg(row + 1)
              .arg(caption(k, polje)));
      return false;
    }
    if (FORMULA_ERROR(text)) {
      MSG(QString::fromUtf8("U %1. redu tabele, u koloni \"%2\", formula daje grešku (%3)!\n"
                            "XML fajl nije napravljen.")
              .arg(row + 1)
              .arg(caption(k, polje))
              .arg(text.trimmed()));
      return false;
    }
    v[i] = INTELI_VAL(text);
  }
  l.ART_SIFRA = rtrim(IZ_TABELE("ART_SIFRA", row, t, k));
  l.ART_NAZIV = rtrim(IZ_TABELE("ART_NAZIV", row, t, k));
  l.ART_BARKOD = rtrim(IZ_TABELE("ART_BARKOD", row, t, k));
  l.ART_JMERE = rtrim(IZ_TABELE("ART_JMERE", row, t, k));
  l.KOLICINA = v[0];
  l.CENB = v[1];
  l.VREDB = v[2];
  l.RABATP = v[3];
  l.STOPA = v[4];
  l.OSN = v[5];
  vredp = v[6];
  if (EQ(l.VREDB, 0)) l.VREDB = ROUND(l.KOLICINA * l.CENB, 2);
  if (EQ(l.OSN, 0)) l.OSN = ROUND(l.VREDB * (1 - l.RABATP / 100), 2);
  if (EQ(vredp, 0)) vredp = ROUND(l.OSN * (1 + l.STOPA / 100), 2);
  return true;
}

bool counted(const InvoiceLine& l, double vredp) {
  return !l.ART_NAZIV.trimmed().isEmpty() || l.KOLICINA != 0 || l.CENB != 0 || l.VREDB != 0 || vredp != 0;
}

}  // namespace

QString IZ_TABELE(const QString& polje, int row, const QTableWidget* table, const QList<MyKOLONA>& kolone) {
  const int col = KOLONA_PO_POLJU(kolone, polje);
  if (!table || col < 0) return QString();
  const QTableWidgetItem* item = table->item(row, col);
  return item ? item->text() : QString();
}

std::unique_ptr<MyERACUN> FUNC_NAPRAVI_XML(
    const QString& brdok, const QDate& datumIzdavanja, const QDate& valutaPlacanja,
    const QString& operater, const QDate& datumPrometa, const QString& otpremnica,
    const QString& ugovor, const QString& narudzbenica, const QString& komitNaziv,
    const QString& komitMesto, const QString& komitAdresa, const QString& komitPib,
    const QString& komitMatbroj, const QString& komitPostBroj, const QString& komitEmail,
    const QString& komitJbkjs, const QString& iniFile, const QString& pdfPath,
    const QTableWidget* table, const QFont& font, const QList<MyKOLONA>& kolone, bool quiet,
    const QString& taxCat, const QString& taxExem, const std::optional<AttachList>& attach) {
  auto r = std::make_unique<MyERACUN>();
  r->New();
  r->cBRDOK = brdok.trimmed();
  r->dDATUM_IZDAVANJA = datumIzdavanja;
  r->dVALUTA_PLACANJA = valutaPlacanja;
  r->dDATUM_PROMETA = datumPrometa;
  r->cAPLIKACIJA = QStringLiteral("Korvan");
  r->cVD = QLatin1String("");
  r->cOZN_OPERATERA = rtrim(operater);
  r->cNAZIV_OPERATERA = rtrim(operater);
  r->cNOVCANA_VALUTA = QStringLiteral("RSD");
  r->cFN_PDF_FULL = pdfPath;
  r->cOTPREMNICA = rtrim(otpremnica);
  r->cUGOVOR = rtrim(ugovor);
  r->cNARUDZBENICA = rtrim(narudzbenica);

  auto firma = [&](const char* key) { return GETPRIVATEPROFILESTRING("Firma", key, "", iniFile); };
  r->cFIRMA_NAZIV = firma("NAZIV");
  r->cFIRMA_MESTO = firma("MESTO");
  r->cFIRMA_POST_BROJ = firma("POST_BROJ");
  r->cFIRMA_ADRESA = firma("ADRESA");
  r->cFIRMA_PIB = firma("PIB");
  r->cFIRMA_MATBROJ = firma("MATBROJ");
  r->cFIRMA_VLASNIK = firma("VLASNIK");
  r->cFIRMA_EMAIL = firma("EMAIL");
  r->cFIRMA_ZIRO = firma("ZIRO");

  r->cKOMIT_NAZIV = rtrim(komitNaziv);
  r->cKOMIT_MESTO = rtrim(komitMesto);
  r->cKOMIT_ADRESA = rtrim(komitAdresa);
  r->cKOMIT_PIB = rtrim(komitPib);
  r->cKOMIT_MATBROJ = rtrim(komitMatbroj);
  r->cKOMIT_POST_BROJ = rtrim(komitPostBroj);
  r->cKOMIT_EMAIL = rtrim(komitEmail);
  r->cKOMIT_JBKJS = rtrim(komitJbkjs);
  r->cISPORUKE_ADRESA = r->cKOMIT_ADRESA;
  r->cISPORUKE_MESTO = r->cKOMIT_MESTO;
  r->cISPORUKE_POST_BROJ = r->cKOMIT_POST_BROJ;

  if (GETPRIVATEPROFILESTRING("Firma", "OBVPDV", "F", iniFile) != QLatin1String("T"))
    r->cFIRMA_OBVPDV = QStringLiteral("N");

  double netTotal = 0, grossTotal = 0;
  for (int row = 0; table && row < table->rowCount(); ++row) {
    InvoiceLine l;
    double vredp = 0;
    if (!readRow(row, table, kolone, l, vredp)) return nullptr;
    if (!counted(l, vredp)) continue;
    if (l.ART_NAZIV.trimmed().isEmpty()) {
      MSG(QString::fromUtf8("U %1. redu tabele, u koloni \"%2\", nije upisan naziv stavke!\n"
                            "XML fajl nije napravljen.")
              .arg(row + 1)
              .arg(caption(kolone, QStringLiteral("ART_NAZIV"))));
      return nullptr;
    }
    r->aPROMENE.append(l);
    VatEntry* entry = nullptr;
    for (VatEntry& e : r->aPDV)
      if (e.STOPA == l.STOPA) entry = &e;
    if (!entry) {
      r->aPDV.append({l.STOPA, 0, 0});
      entry = &r->aPDV.last();
    }
    entry->OSNOVICA += l.OSN;
    entry->PDV += vredp - l.OSN;
    grossTotal += vredp;
    netTotal += l.OSN;
  }
  r->WVREDB = netTotal;
  r->WVREDP = grossTotal;
  r->WZA_UPLATU = grossTotal;

  if (!taxCat.isEmpty()) r->cTAX_CAT = taxCat;
  if (!taxExem.isEmpty() && taxExem != TAX_EXEM_PROMPT()) r->cTAX_EXEM = taxExem;
  if (attach && !attach->isEmpty()) r->aATTACH = attach;

  if (!r->PisiXML()) return nullptr;

  if (!quiet) {
    const QString folder = QFileInfo(r->cFN_XML_FULL).absolutePath();
    MSGLINK("Napravljen je XML", ":/res/korvan.png", font,
            "Napravljen je XML fajl:<br>" + LINK_NA_FAJL(folder, r->cFN_XML_FULL));
  }
  return r;
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
