// The manager window: set-up, direction, the table and the selected row.
#include "windows/mykorvanman.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

#include "common/apppath.h"
#include "common/ini.h"
#include "common/msg.h"
#include "einvoice/ui/efmdblist.h"
#include "ui/frame.h"
#include "windows/korvanman_model.h"

namespace korvan {

QString MyKORVANMAN::GETINI(const QString& key, const QString& section, const QString& def) const {
  return GETPRIVATEPROFILESTRING(section, key, def, FN_INI);
}

bool MyKORVANMAN::PUTINI(const QString& key, const QString& section, const QString& value) const {
  return WRITEPRIVATEPROFILESTRING(section, key, value, FN_INI);
}

QPushButton* MyKORVANMAN::dugme(const QString& text, const QString& icon, const char* shortcut) {
  auto* b = new QPushButton(QIcon(icon), text);
  if (shortcut) b->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
  return b;
}

void MyKORVANMAN::POSTAVI(const QString& apiKey, const QString& noKeyMessage, const QString& pib,
                          const QVariant& server) {
  lIMA_IZLAZ = true;
  lIMA_RESIZE_TO_CONTENTS = false;
  lIMA_TABELU = true;
  lIMA_TRAZI = true;
  lSAKRIJ_VERTIKALU = true;
  cICO_RES = QStringLiteral(":/res/promene.png");
  FN_INI = korvan::FN_INI(QStringLiteral("aplik.ini"));
  cINIT_API_KLJUC = apiKey;
  cKOMENT_API_KLJUC = noKeyMessage;
  cFIRMA_PIB = pib;
  const QString section = QStringLiteral("KorvanMan");
  lIMA_ODOB = GETINI(QStringLiteral("IMA_ODOB"), section, QStringLiteral("F")) == QLatin1String("T");
  oSERVER_EFM = server;

  cUI = kman::direction(GETINI(QStringLiteral("UI"), section, QStringLiteral("I")));
  ocmboUI = new QComboBox;
  ocmboUI->addItem(QStringLiteral("Izlazni dokumenti"), QStringLiteral("I"));
  ocmboUI->addItem(QStringLiteral("Ulazni dokumenti"), QStringLiteral("U"));
  ocmboUI->setCurrentIndex(qMax(0, ocmboUI->findData(cUI)));
  connect(ocmboUI, &QComboBox::currentIndexChanged, this, &MyKORVANMAN::PROMENJEN_UI);
  layTASTERI->addWidget(ocmboUI);

  const QString levo = QStringLiteral(":/res/2levo.png");
  obPREUZMI_NOVE = dugme(QStringLiteral("Preuzmi samo nove sa sajta (F2)"), levo, "F2");
  obPREUZMI_SVE = dugme(QStringLiteral("Preuzmi SVE sa sajta"), levo);
  obPREUZMI_PERIOD = dugme(QStringLiteral("Preuzmi menjane u periodu"), levo);
  obOSVEZI = dugme(QString::fromUtf8("Osveži"), QStringLiteral(":/res/reload.png"));
  connect(obPREUZMI_NOVE, &QPushButton::clicked, this, [this] { PREUZMI_SVE(true); });
  connect(obPREUZMI_SVE, &QPushButton::clicked, this, [this] { PREUZMI_SVE(false); });
  connect(obPREUZMI_PERIOD, &QPushButton::clicked, this, &MyKORVANMAN::PREUZMI_PERIOD);
  connect(obOSVEZI, &QPushButton::clicked, this, &MyKORVANMAN::POPUNI_TABELU);
  for (QPushButton* b : {obPREUZMI_NOVE.data(), obPREUZMI_SVE.data(), obPREUZMI_PERIOD.data(), obOSVEZI.data()})
    layTASTERI->addWidget(b);

  obAZU_SEL = dugme(QStringLiteral("Ažuriraj status (F3)"), QStringLiteral(":/res/reload.png"), "F3");
  obBRISI = dugme(QString::fromUtf8("Briši (F4)"), QStringLiteral(":/res/brisi.png"), "F4");
  obSALJI_MEJLOM = dugme(QStringLiteral("Pripremi za slanje mejlom (F8)"), QStringLiteral(":/res/mail.png"), "F8");
  obCUVAJ = dugme(QString::fromUtf8("Sačuvaj u folder (F9)"), QStringLiteral(":/res/snimi.png"), "F9");
  connect(obAZU_SEL, &QPushButton::clicked, this, &MyKORVANMAN::AZU_SEL);
  connect(obBRISI, &QPushButton::clicked, this, &MyKORVANMAN::BRISI);
  connect(obSALJI_MEJLOM, &QPushButton::clicked, this, &MyKORVANMAN::SALJI_MEJLOM);
  connect(obCUVAJ, &QPushButton::clicked, this, &MyKORVANMAN::UPIT_CUVAJ);
  for (QPushButton* b : {obAZU_SEL.data(), obBRISI.data(), obSALJI_MEJLOM.data(), obCUVAJ.data()})
    layTASTERI2->addWidget(b);

  // The operation buttons decide by the direction at the moment of the click.
  obOTKAZI_PRIHVATI = new QPushButton;
  obSTORNIRAJ_ODBIJ = new QPushButton;
  connect(obOTKAZI_PRIHVATI, &QPushButton::clicked, this, [this] {
    if (cUI == QLatin1String(EFM_IZLAZNI)) OTKAZI_SEL(false);
    else PRIHV_ODBIJ_SEL(true);
  });
  connect(obSTORNIRAJ_ODBIJ, &QPushButton::clicked, this, [this] {
    if (cUI == QLatin1String(EFM_IZLAZNI)) OTKAZI_SEL(true);
    else PRIHV_ODBIJ_SEL(false);
  });
  layG2->addWidget(obOTKAZI_PRIHVATI, 0, 0);
  layG2->addWidget(obSTORNIRAJ_ODBIJ, 0, 1);
  const QString stampa = QStringLiteral(":/res/stampa.png");
  obPRIK_ORIG_PDF = dugme(QString::fromUtf8("Prikaži originalni PDF fajl"), stampa);
  obPRIK_GENE_PDF = dugme(QString::fromUtf8("Prikaži generički PDF fajl"), stampa);
  obPRIK_XML = dugme(QString::fromUtf8("Prikaži XML fajl"), QStringLiteral(":/res/2desno.png"));
  obPRIK_ATTACH = dugme(QString::fromUtf8("Prikaži priloge"), QStringLiteral(":/res/attach.png"));
  connect(obPRIK_ORIG_PDF, &QPushButton::clicked, this, [this] { PRIK_FAJL(1); });
  connect(obPRIK_GENE_PDF, &QPushButton::clicked, this, [this] { PRIK_FAJL(2); });
  connect(obPRIK_XML, &QPushButton::clicked, this, [this] { PRIK_FAJL(3); });
  connect(obPRIK_ATTACH, &QPushButton::clicked, this, &MyKORVANMAN::PRIK_ATTACH);
  layG2->addWidget(obPRIK_ORIG_PDF, 1, 0);
  layG2->addWidget(obPRIK_GENE_PDF, 1, 1);
  layG2->addWidget(obPRIK_XML, 1, 2);
  layG2->addWidget(obPRIK_ATTACH, 1, 3);

  POSTAVI_OD_UI();
  aKOLONE = {MyKOLONA(QStringLiteral("STATUS"), QStringLiteral("Status"), QStringLiteral("C"), 10),
             MyKOLONA(QStringLiteral("BRDOK"), QStringLiteral("Broj\ndokumenta"), QStringLiteral("C"), 10),
             MyKOLONA(QStringLiteral("TIPDOK"), QStringLiteral("Tip\ndokumenta"), QStringLiteral("C"), 10),
             MyKOLONA(QStringLiteral("DATIZD"), QStringLiteral("Datum\nizdavanja"), QStringLiteral("D"), 8),
             MyKOLONA(QStringLiteral("DATPROM"), QStringLiteral("Datum\nprometa"), QStringLiteral("D"), 8),
             MyKOLONA(QStringLiteral("DATDOSP"), QString::fromUtf8("Datum\ndospeća"), QStringLiteral("D"), 8),
             MyKOLONA(QStringLiteral("IZNOS"), QStringLiteral("Iznos"), QStringLiteral("N"), 14, 2),
             MyKOLONA(QStringLiteral("KOMITENT"), QStringLiteral("Komitent"), QStringLiteral("C"), 30)};
  bODMAH_IZVRSI = [this] { POPUNI_TABELU(); };
  // "Ažuriraj status (F3)" owns F3: a second button on the same key would
  // make Qt run neither, so the search's "next" is reached by click only.
  bIZVRSI_NA_KRAJU = [this] {
    if (obSLEDECI) {
      obSLEDECI->setShortcut(QKeySequence());
      obSLEDECI->setText(QString::fromUtf8("Sledeći"));
    }
  };
  PUTINI(QStringLiteral("POSLEDNJI_KOJI"), QStringLiteral("Config"), QStringLiteral("KORVANMAN"));
}

void MyKORVANMAN::POSTAVI_OD_UI() {
  if (!obOTKAZI_PRIHVATI || !obSTORNIRAJ_ODBIJ) return;
  if (cUI == QLatin1String(EFM_IZLAZNI)) {
    obOTKAZI_PRIHVATI->setText(QString::fromUtf8("Otkaži dokument"));
    obOTKAZI_PRIHVATI->setIcon(QIcon(QStringLiteral(":/res/reject.png")));
    obSTORNIRAJ_ODBIJ->setText(QStringLiteral("Storniraj dokument"));
  } else {
    obOTKAZI_PRIHVATI->setText(QStringLiteral("Prihvati dokument"));
    obOTKAZI_PRIHVATI->setIcon(QIcon(QStringLiteral(":/res/accept.png")));
    obSTORNIRAJ_ODBIJ->setText(QStringLiteral("Odbij dokument"));
  }
  obSTORNIRAJ_ODBIJ->setIcon(QIcon(QStringLiteral(":/res/brisi.png")));
}

void MyKORVANMAN::PROMENJEN_UI(int index) {
  cUI = index < 0 || !ocmboUI ? QStringLiteral("I") : kman::direction(ocmboUI->itemData(index).toString());
  PUTINI(QStringLiteral("UI"), QStringLiteral("KorvanMan"), cUI);
  POPUNI_TABELU();
  POSTAVI_OD_UI();
}

void MyKORVANMAN::POPUNI_TABELU() {
  if (!oTABELA) return;
  aTABELA = EFMDB_PUNI_TABELA(oSERVER_EFM, cUI, cFIRMA_PIB);
  cUI_TABELE = cUI;
  const int count = int(aTABELA.size());
  oTABELA->setRowCount(0);
  oTABELA->setRowCount(count);
  const QStringList fields = kman::polja();
  const QString total = QString::number(count).rightJustified(8);
  MyFRAME box(17, true);
  // One repaint at the end instead of one per cell, and no change signal per
  // cell: the rows are new, nothing listens to their edits. The model can go
  // with the window while the box runs events, hence the guarded pointer.
  oTABELA->setUpdatesEnabled(false);
  const QPointer<QAbstractItemModel> model = oTABELA->model();
  const bool wasBlocked = model->blockSignals(true);
  const QBrush yellow(QColor(kman::imeBoje(kman::Boja::Zuta))), salmon(QColor(kman::imeBoje(kman::Boja::Losos)));
  int filled = 0;
  for (; filled < count; ++filled) {
    if (box.Due()) box.Disp(QString::number(filled + 1).rightJustified(8) + u'/' + total);
    if (box.lPREKID || !oTABELA) break;
    const kman::Red r = kman::red(aTABELA[filled], aMENJANO);
    const QString tag = QString::number(r.recno);
    std::optional<QBrush> background;
    if (r.boja == kman::Boja::Zuta) background = yellow;
    else if (r.boja == kman::Boja::Losos) background = salmon;
    for (int c = 0; c < fields.size(); ++c)
      POSTAVI_KOLONU(aKOLONE, fields[c], r.vrednosti[c], filled, tag, background);
  }
  box.End();
  if (model) model->blockSignals(wasBlocked);
  if (oTABELA) {
    oTABELA->setUpdatesEnabled(true);
    oTABELA->viewport()->update();
  }
  // Rows that a stop left unfilled would show nothing that belongs to them.
  if (oTABELA && filled < count) {
    oTABELA->setRowCount(filled);
    aTABELA = aTABELA.mid(0, filled);
  }
}

std::optional<EfmdbSlog> MyKORVANMAN::SELEKTOVAN() const {
  const QTableWidgetItem* cell = oTABELA ? oTABELA->currentItem() : nullptr;
  if (!IMA_WHATSTHIS(cell, oTABELA) || cell->whatsThis().isEmpty()) {
    MSG(QString::fromUtf8("Nema ništa selektovano!"));
    return std::nullopt;
  }
  const quint32 recno = cell->whatsThis().toUInt();
  const int row = cell->row();
  if (row < 0 || row >= aTABELA.size() || aTABELA[row].value(LR_RECNO).toUInt() != recno) {
    MSG(QString::fromUtf8("Nema ništa selektovano!"));
    return std::nullopt;
  }
  return EfmdbSlog{recno, cUI_TABELE, aTABELA[row].value(LR_ID).toLongLong()};
}

void MyKORVANMAN::DBL_KLIK(int row, int column) {
  Q_UNUSED(row)
  if (column >= 0 && column < aKOLONE.size() && aKOLONE[column].POLJE == QLatin1String("STATUS")) OPER_DOK();
  else PRIK_FAJL();
}

void MyKORVANMAN::BRISI() {
  const auto row = SELEKTOVAN();
  if (!row) return;
  if (!MSGYESNO(QString::fromUtf8("Da li sigurno brišete selektovanu stavku?"))) return;
  if (EFMDB_BRISI(oSERVER_EFM, *row)) POPUNI_TABELU();
}

}  // namespace korvan
