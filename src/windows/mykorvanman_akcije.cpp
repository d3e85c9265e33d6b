// The manager window's actions on the selected invoice: refresh, cancel and
// storno, accept and reject, its files and its attachments.
#include <QApplication>
#include <QMainWindow>
#include <QMdiSubWindow>

#include "common/apppath.h"
#include "common/files.h"
#include "common/msg.h"
#include "einvoice/ui/dlgatt.h"
#include "einvoice/account.h"
#include "einvoice/libefm2.h"
#include "einvoice/libefman.h"
#include "einvoice/xmlliteral.h"
#include "ui/lepiqale.h"
#include "ui/sq.h"
#include "windows/mykorvanman.h"

namespace korvan {
namespace {

QString tmpFolder() {
  const QString dir = GETAPPPATH() + QStringLiteral("TMP/");
  PRAVI_DIR_FULL(dir);
  return dir;
}

bool outgoing(const QString& ui) { return ui == QLatin1String(EFM_IZLAZNI); }

}  // namespace

bool MyKORVANMAN::kljuc(QString& key) const { return EFM_API_KLJUC(key, cINIT_API_KLJUC, cKOMENT_API_KLJUC); }

MyKORVANMAN::Osvezen MyKORVANMAN::AZU_JEDAN_INVOICE(qint64 id, const QString& key, bool testMode,
                                                    const QString& pib) {
  EfmZaglavlje header;
  bool missing = false;
  if (!EFM_OBRADI_INVOICE(cUI, id, header, efmAccount(key, testMode), missing)) {
    if (!missing) return Osvezen::Greska;
    EFMDB_PISI_FALS(oSERVER_EFM, cUI, id);
    return Osvezen::NemaDokumenta;
  }
  return EFMDB_DODAJ_IZMENI(oSERVER_EFM, cUI, header, aMENJANO, pib) ? Osvezen::Jeste : Osvezen::Greska;
}

void MyKORVANMAN::AZU_SEL() {
  const bool testMode = ISTEST();
  const auto row = SELEKTOVAN();
  if (!row) return;
  QString key;
  if (!kljuc(key)) return;
  qint64 id = 0;
  if (!EFMDB_UZMI_IZ_BAZE(oSERVER_EFM, *row, &id, nullptr, nullptr, nullptr)) return;
  AZU_JEDAN_INVOICE(id, key, testMode, cFIRMA_PIB);
  POPUNI_TABELU();
}

void MyKORVANMAN::OTKAZI_SEL(bool reverse) {
  const bool testMode = ISTEST();
  if (!outgoing(cUI)) {
    MSG(QStringLiteral("Samo IZLAZNI dokumenti mogu da se ") +
        (reverse ? QStringLiteral("storniraju") : QStringLiteral("otkazuju")) + u'!');
    return;
  }
  const auto row = SELEKTOVAN();
  if (!row) return;
  QString key;
  if (!kljuc(key)) {
    if (testMode) MSG(QStringLiteral("EFM+API_KLJUC"));
    return;
  }
  if (!MSGYESNO(QStringLiteral("Da li sigurno ") + (reverse ? QStringLiteral("stornirate") : QStringLiteral("otkazujete")) +
                QStringLiteral(" selektovani dokument?")))
    return;
  QString reason;
  if (!SQ({{.label = reverse ? QStringLiteral("Razlog storniranja") : QStringLiteral("Razlog otkazivanja"),
            .value = SQ_VAR(reason),
            .minWidth = 40}},
          reverse ? QStringLiteral(":/res/brisi.png") : QStringLiteral(":/res/reject.png"), oFont,
          reverse ? QStringLiteral("Storniranje dokumenta") : QStringLiteral("Otkazivanje dokumenta")))
    return;
  qint64 id = 0;
  if (!EFMDB_UZMI_IZ_BAZE(oSERVER_EFM, *row, &id, nullptr, nullptr, nullptr)) return;
  EFM_OTKAZI_DOK(reverse, id, reason, efmAccount(key, testMode));
  AZU_JEDAN_INVOICE(id, key, testMode, cFIRMA_PIB);
  POPUNI_TABELU();
}

void MyKORVANMAN::PRIHV_ODBIJ_SEL(bool accept) {
  const bool testMode = ISTEST();
  QString reason;
  if (outgoing(cUI)) {
    MSG(QStringLiteral("Samo ULAZNI dokumenti mogu da se ") +
        (accept ? QStringLiteral("prihvataju") : QStringLiteral("odbijaju")) + u'!');
    return;
  }
  const auto row = SELEKTOVAN();
  if (!row) return;
  QString key;
  if (!kljuc(key)) return;
  if (!MSGYESNO(QStringLiteral("Da li sigurno ") + (accept ? QStringLiteral("prihvatate") : QStringLiteral("odbijate")) +
                QStringLiteral(" selektovani dokument?")))
    return;
  if (!accept) {
    reason = EFMDB_SG_RAZLOG_ODBIJANJA(oSERVER_EFM, *row).value_or(QString());
    if (!SQ({{.label = QStringLiteral("Razlog odbijanja"), .value = SQ_VAR(reason), .minWidth = 40}},
            QStringLiteral(":/res/brisi.png"), oFont, QStringLiteral("Odbijanje dokumenta")))
      return;
    // Kept before anything is sent, so that a failed reject offers it again.
    EFMDB_SG_RAZLOG_ODBIJANJA(oSERVER_EFM, *row, reason);
  }
  qint64 id = 0;
  if (!EFMDB_UZMI_IZ_BAZE(oSERVER_EFM, *row, &id, nullptr, nullptr, nullptr)) return;
  EFM_PRIHV_ODBIJ_DOK(accept, id, reason, efmAccount(key, testMode));
  AZU_JEDAN_INVOICE(id, key, testMode, cFIRMA_PIB);
  POPUNI_TABELU();
}

void MyKORVANMAN::OPER_DOK() {
  const bool out = outgoing(cUI);
  const QList<LepiEntry> entries =
      out ? QList<LepiEntry>{{QString::fromUtf8("Otkaži dokument"), {}, QStringLiteral(":/res/reject.png"), {}},
                             {QStringLiteral("Storniraj dokument"), {}, QStringLiteral(":/res/brisi.png"), {}},
                             {QStringLiteral("Odustani"), {}, QStringLiteral(":/res/izlaz.png"), {}}}
          : QList<LepiEntry>{{QStringLiteral("Prihvati dokument"), {}, QStringLiteral(":/res/accept.png"), {}},
                             {QStringLiteral("Odbij dokument"), {}, QStringLiteral(":/res/brisi.png"), {}},
                             {QStringLiteral("Odustani"), {}, QStringLiteral(":/res/izlaz.png"), {}}};
  const int answer = LEPI_QALERT(QStringLiteral("Izaberite opciju"), entries, IconSource(static_cast<QWidget*>(oWND.data())), oFont);
  if (answer != 1 && answer != 2) return;
  if (out) OTKAZI_SEL(answer == 2);
  else PRIHV_ODBIJ_SEL(answer == 1);
}

void MyKORVANMAN::PRIK_FAJL(std::optional<int> choice) {
  const auto row = SELEKTOVAN();
  if (!row) return;
  if (!choice) {
    const QString stampa = QStringLiteral(":/res/stampa.png");
    choice = LEPI_QALERT(QStringLiteral("Izaberite fajl"),
                         {{QStringLiteral("Originalni PDF"), {}, stampa, {}},
                          {QString::fromUtf8("Generički PDF"), {}, stampa, {}},
                          {QStringLiteral("XML"), {}, QStringLiteral(":/res/2desno.png"), {}},
                          {QStringLiteral("Odustani"), {}, QStringLiteral(":/res/izlaz.png"), {}}},
                         IconSource(static_cast<QWidget*>(oWND.data())), oFont);
  }
  if (*choice < 1 || *choice > 3) return;
  qint64 id = 0;
  QString xml;
  if (!EFMDB_UZMI_IZ_BAZE(oSERVER_EFM, *row, &id, &xml, nullptr, nullptr)) return;
  const QString name = QString::number(id);
  switch (*choice) {
    case 1: EFM_SNIMI_OTVORI_FAJL_IZ_XML(QStringLiteral("cbc:EmbeddedDocumentBinaryObject"), xml, name, tmpFolder(), QStringLiteral("pdf")); break;
    case 2: EFM_SNIMI_OTVORI_FAJL_IZ_XML(QStringLiteral("env:DocumentPdf"), xml, name + QStringLiteral("_generic"), tmpFolder(), QStringLiteral("pdf")); break;
    case 3: EFM_SNIMI_OTVORI_FAJL_IZ_XML(QString(), xml, name, tmpFolder(), QStringLiteral("xml")); break;
  }
}

void MyKORVANMAN::PRIK_ATTACH() {
  const auto row = SELEKTOVAN();
  if (!row) return;
  qint64 id = 0;
  QString xml;
  if (!EFMDB_UZMI_IZ_BAZE(oSERVER_EFM, *row, &id, &xml, nullptr, nullptr)) return;
  const QString path = tmpFolder() + QString::number(id) + QStringLiteral(".xml");
  if (!WRITE_MEMO(path, xml)) return;
  QByteArray bytes;
  if (!READ_FILE(path, &bytes)) return;
  XmlLiteralDoc doc;
  if (const int e = doc.parse(bytes); e != 0) {
    MSG(QString::fromUtf8("Greška pri parsiranju XML fajla: ") + QString::number(e).rightJustified(10));
    return;
  }
  // Names as the sender wrote them; the dialog writes an entry only under its
  // safe base name. A name given twice gets its position in front.
  AttachList list;
  const QString tag = QStringLiteral("cbc:EmbeddedDocumentBinaryObject");
  int n = 0;
  for (int i = doc.find(tag); i >= 0; i = doc.find(tag, i + 1)) {
    ++n;
    const XmlElement& el = doc.elements()[i];
    bool has = false;
    for (const auto& a : el.attributes) has = has || a.first == QLatin1String("filename");
    if (!has) continue;
    QString name = XML_DECODE_REFS(UZMI_STA(true, el, QStringLiteral("filename")));
    for (const AttachEntry& e : list)
      if (e.name == name) name = QString::number(n) + u'_' + name;
    list << AttachEntry{name, el.text, std::nullopt};
  }
  DLG_ATTACH(oMainWnd.data(), oFont, list, true, false);
}

}  // namespace korvan
