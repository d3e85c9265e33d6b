// Building the free invoice entry window.
#include "windows/slobun.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/ini.h"
#include "common/msg.h"
#include "einvoice/ui/dlgatt.h"
#include "einvoice/ui/taxpick.h"
#include "windows/windowsetup.h"
#include "windows/slobun_grid.h"

namespace korvan {

QString MySLOBUN::GETINI(const QString& key, const QString& section, const QString& def) const {
  return GETPRIVATEPROFILESTRING(section, key, def, FN_INI);
}

bool MySLOBUN::PUTINI(const QString& key, const QString& section, const QString& value) const {
  return WRITEPRIVATEPROFILESTRING(section, key, value, FN_INI);
}

void MySLOBUN::DODAJ_OBJEKAT(QPointer<QLabel>& label, const QString& caption, QPointer<QLineEdit>& edit,
                             const QString& text, const QString& iniKey) {
  label = new QLabel(caption);
  edit = new QLineEdit;
  if (!text.isEmpty()) edit->setText(text);
  if (!iniKey.isEmpty()) {
    edit->setObjectName(QStringLiteral("ole") + iniKey);
    QLineEdit* e = edit;
    connect(e, &QLineEdit::editingFinished, this, [this, e, iniKey] { PUTINI(iniKey, cSEKCIJA, e->text()); });
  }
}

namespace {

QPushButton* button(const QString& text, const char* icon, const char* name) {
  auto* b = new QPushButton(QIcon(QString::fromLatin1(icon)), text);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

QDateEdit* dateEdit(const char* name) {
  auto* d = new QDateEdit;
  d->setCalendarPopup(true);
  d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  d->setDate(TODAY());
  d->setObjectName(QString::fromLatin1(name));
  return d;
}


}  // namespace

void MySLOBUN::POSTAVI(bool lYt) {
  lIMA_IZLAZ = true;
  lIMA_RESIZE_TO_CONTENTS = false;
  lIMA_TABELU = true;
  cICO_RES = QStringLiteral(":/res/stavka2.png");
  lSAKRIJ_VERTIKALU = true;
  nPOINTSIZE = MAIN_NPOINTSIZE(*this);
  FN_INI = korvan::FN_INI(QStringLiteral("aplik.ini"));
  lFIRMA_OBVPDV = FIRMA_OBVPDV(FN_INI);
  lYT = lYt;

  // The upper button row; the base ends it with "Izlaz (Esc)".
  if (lYT) {
    obIMP_YT = button(QStringLiteral("Stavke iz XLS fajla"), ":/res/2levo.png", "obIMP_YT");
    connect(obIMP_YT, &QPushButton::clicked, this, &MySLOBUN::IMP_YT);
    layTASTERI->addWidget(obIMP_YT);
  } else {
    obQUMIR = button(QStringLiteral("Skenirano iz Qumir"), ":/res/2levo.png", "obQUMIR");
    obDEKOD_PURS = button(QStringLiteral("Podaci iz eFiskalnog"), ":/res/paste.png", "obDEKOD_PURS");
    obPRAVI_PDF = button(QStringLiteral("Napravi PDF fajl"), ":/res/stampa.png", "obPRAVI_PDF");
    connect(obQUMIR, &QPushButton::clicked, this, &MySLOBUN::PREUZMI_QUMIR);
    connect(obDEKOD_PURS, &QPushButton::clicked, this, [this] { DEKODIRAJ_PURS(); });
    connect(obPRAVI_PDF, &QPushButton::clicked, this, [this] { NAPRAVI_PDF(false); });
    for (QPushButton* b : {obQUMIR.data(), obDEKOD_PURS.data(), obPRAVI_PDF.data()}) layTASTERI->addWidget(b);
  }
  obPRILOZI = button(QStringLiteral("Prilozi"), ":/res/attach.png", "obPRILOZI");
  obPRAVI_XML = button(QStringLiteral("Napravi XML fajl"), ":/res/2desno.png", "obPRAVI_XML");
  obSALJI_XML = button(QString::fromUtf8("Napravi i pošalji XML fajl"), ":/res/salji.png", "obSALJI_XML");
  connect(obPRILOZI, &QPushButton::clicked, this, &MySLOBUN::PRILOZI);
  connect(obPRAVI_XML, &QPushButton::clicked, this, [this] { NAPRAVI_XML(false); });
  connect(obSALJI_XML, &QPushButton::clicked, this, &MySLOBUN::POSALJI_XML);
  for (QPushButton* b : {obPRILOZI.data(), obPRAVI_XML.data(), obSALJI_XML.data()}) layTASTERI->addWidget(b);

  // The header.
  auto key = [this](const char* k) { return GETINI(QString::fromLatin1(k), cSEKCIJA); };
  DODAJ_OBJEKAT(olblGODINA, QStringLiteral("Godina"), oleGODINA, QString::number(TODAY().year()));
  oleGODINA->setObjectName(QStringLiteral("oleGODINA"));
  DODAJ_OBJEKAT(olblBRDOK, QStringLiteral("Broj dokumenta"), oleBRDOK, key("BRDOK"), QStringLiteral("BRDOK"));
  olblDATDOK = new QLabel(QStringLiteral("Datum izdavanja"));
  odteDATDOK = dateEdit("odteDATDOK");
  DODAJ_OBJEKAT(olblMESTO_IZD, QStringLiteral("Mesto izdavanja"), oleMESTO_IZD, key("MESTO_IZD"),
                QStringLiteral("MESTO_IZD"));
  olblDATPROM = new QLabel(QStringLiteral("Datum prometa dobara i usluga"));
  odteDATPROM = dateEdit("odteDATPROM");
  DODAJ_OBJEKAT(olblMESTO_PROM, QStringLiteral("Mesto prometa dobara i usluga"), oleMESTO_PROM, key("MESTO_PROM"),
                QStringLiteral("MESTO_PROM"));
  olblVALUTA = new QLabel(QString::fromUtf8("Valuta plaćanja"));
  odteVALUTA = dateEdit("odteVALUTA");
  DODAJ_OBJEKAT(olblOPERATER, QStringLiteral("Operater"), oleOPERATER, key("OPERATER"), QStringLiteral("OPERATER"));
  DODAJ_OBJEKAT(olblNARUDZBENICA, QString::fromUtf8("Narudžbenica"), oleNARUDZBENICA);
  oleNARUDZBENICA->setObjectName(QStringLiteral("oleNARUDZBENICA"));
  DODAJ_OBJEKAT(olblOTPREMNICA, QStringLiteral("Otpremnica"), oleOTPREMNICA);
  oleOTPREMNICA->setObjectName(QStringLiteral("oleOTPREMNICA"));
  DODAJ_OBJEKAT(olblUGOVOR, QStringLiteral("Ugovor"), oleUGOVOR);
  oleUGOVOR->setObjectName(QStringLiteral("oleUGOVOR"));
  DODAJ_OBJEKAT(olblNAPOMENA, QStringLiteral("Napomena"), oleNAPOMENA, key("NAPOMENA"), QStringLiteral("NAPOMENA"));

  // The buyer.
  obIZBOR_KOMIT = button(QStringLiteral("Izbor kupca"), ":/res/trazi.png", "obIZBOR_KOMIT");
  connect(obIZBOR_KOMIT, &QPushButton::clicked, this, &MySLOBUN::IZABERI_KOMIT);
  QPushButton* buyerButton = nullptr;
  if (lYT) {
    obKOMIT_IZ_CLIPB = buyerButton = button(QStringLiteral("Kupac iz ClipBoard-a"), ":/res/paste.png", "obKOMIT_IZ_CLIPB");
  } else {
    obKOMIT_OD_NBS = buyerButton = button(QStringLiteral("Podaci kupca od NBS"), ":/res/paste.png", "obKOMIT_OD_NBS");
  }
  if (lYT) connect(buyerButton, &QPushButton::clicked, this, &MySLOBUN::KOMIT_IZ_CLIPB);
  else connect(buyerButton, &QPushButton::clicked, this, &MySLOBUN::KOMIT_OD_NBS);
  struct Buyer {
    QPointer<QLabel> MySLOBUN::*label;
    QPointer<QLineEdit> MySLOBUN::*edit;
    const char* caption;
    const char* key;
  };
  static const Buyer buyer[] = {
      {&MySLOBUN::olblKOMIT_PIB, &MySLOBUN::oleKOMIT_PIB, "PIB kupca", "KOMIT_PIB"},
      {&MySLOBUN::olblKOMIT_NAZIV, &MySLOBUN::oleKOMIT_NAZIV, "Naziv kupca", "KOMIT_NAZIV"},
      {&MySLOBUN::olblKOMIT_MESTO, &MySLOBUN::oleKOMIT_MESTO, "Mesto kupca", "KOMIT_MESTO"},
      {&MySLOBUN::olblKOMIT_POST_BROJ, &MySLOBUN::oleKOMIT_POST_BROJ, "Poštanski broj kupca", "KOMIT_POST_BROJ"},
      {&MySLOBUN::olblKOMIT_ADRESA, &MySLOBUN::oleKOMIT_ADRESA, "Adresa kupca", "KOMIT_ADRESA"},
      {&MySLOBUN::olblKOMIT_MATBROJ, &MySLOBUN::oleKOMIT_MATBROJ, "Matični broj kupca", "KOMIT_MATBROJ"},
      {&MySLOBUN::olblKOMIT_JBKJS, &MySLOBUN::oleKOMIT_JBKJS, "JBKJS kupca", "KOMIT_JBKJS"},
      {&MySLOBUN::olblKOMIT_EMAIL, &MySLOBUN::oleKOMIT_EMAIL, "E-mail kupca", "KOMIT_EMAIL"},
  };
  for (const Buyer& b : buyer)
    DODAJ_OBJEKAT(this->*b.label, QString::fromUtf8(b.caption), this->*b.edit, key(b.key), QString::fromLatin1(b.key));

  // VAT category and exemption: preselected before the change handler is connected.
  olblTAX_CAT = new QLabel(QStringLiteral("PDV kategorija"));
  ocmboTAX_CAT = new QComboBox;
  ocmboTAX_CAT->setObjectName(QStringLiteral("ocmboTAX_CAT"));
  olblTAX_EXEM = new QLabel(QString::fromUtf8("Šifra oslobađanja PDV-a"));
  obTAX_EXEM = new QPushButton;
  obTAX_EXEM->setObjectName(QStringLiteral("obTAX_EXEM"));
  POSTAVI_TAX_CAT_EXEM(ocmboTAX_CAT, obTAX_EXEM, lFIRMA_OBVPDV, oFont);
  // Sized to its longest name the combo would widen the window past the screen.
  ocmboTAX_CAT->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ocmboTAX_CAT->setMinimumContentsLength(20);

  obIZBOR_ART = button(QStringLiteral("Izbor artikla"), ":/res/trazi.png", "obIZBOR_ART");
  connect(obIZBOR_ART, &QPushButton::clicked, this, &MySLOBUN::IZABERI_ART);

  // The field grid, tight enough that the lines below still fit a 768-pixel screen.
  layG2->setVerticalSpacing(1);
  layG2->addWidget(obIZBOR_KOMIT, 1, 2);
  layG2->addWidget(buyerButton, 1, 3);
  const QList<std::pair<QLabel*, QWidget*>> left = {
      {olblGODINA, oleGODINA},         {olblBRDOK, oleBRDOK},           {olblDATDOK, odteDATDOK},
      {olblMESTO_IZD, oleMESTO_IZD},   {olblDATPROM, odteDATPROM},      {olblMESTO_PROM, oleMESTO_PROM},
      {olblVALUTA, odteVALUTA},        {olblOPERATER, oleOPERATER},     {olblNARUDZBENICA, oleNARUDZBENICA},
      {olblOTPREMNICA, oleOTPREMNICA}, {olblUGOVOR, oleUGOVOR},         {olblNAPOMENA, oleNAPOMENA}};
  for (int i = 0; i < left.size(); ++i) {
    layG2->addWidget(left[i].first, i + 2, 0);
    layG2->addWidget(left[i].second, i + 2, 1);
  }
  // Name, address and e-mail span columns 3 and 4.
  const int spans[] = {1, 2, 1, 1, 2, 1, 1, 2};
  for (int i = 0; i < 8; ++i) {
    layG2->addWidget(this->*buyer[i].label, i + 2, 2);
    layG2->addWidget(this->*buyer[i].edit, i + 2, 3, 1, spans[i]);
  }
  layG2->addWidget(olblTAX_CAT, 10, 2);
  layG2->addWidget(ocmboTAX_CAT, 10, 3);
  layG2->addWidget(olblTAX_EXEM, 11, 2);
  layG2->addWidget(obTAX_EXEM, 11, 3);
  layG2->addWidget(obIZBOR_ART, 13, 2, 1, 3);

  // The grid and its total.
  aKOLONE = SLOBUN_KOLONE(lYT);
  bODMAH_IZVRSI = [this] { POPUNI_TABELU(true); };
  auto* total = new QLabel;
  total->setObjectName(QStringLiteral("oTABELA_ISPOD"));
  total->setAlignment(Qt::Alignment(130));
  oTABELA_ISPOD = total;

  PUTINI(QStringLiteral("POSLEDNJI_KOJI"), QStringLiteral("Config"),
         lYT ? QStringLiteral("SLOBUN_YT") : QStringLiteral("SLOBUN"));
}

void MySLOBUN::PRILOZI() { DLG_ATTACH(oMainWnd, oFont, aATTACH, false); }

}  // namespace korvan
