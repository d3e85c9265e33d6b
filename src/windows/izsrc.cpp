// Building the spreadsheet import window, its settings and their display.
#include "windows/izsrc.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/ini.h"
#include "einvoice/myeracun.h"
#include "einvoice/ui/taxpick.h"
#include "windows/izsrc_fields.h"
#include "einvoice/ui/linetable.h"
#include "platform/workbook.h"

namespace korvan {

using izsrc::HeaderField;
using izsrc::LineColumn;

QString MyIZSRC::GETINI(const QString& key, const QString& section, const QString& def) const {
  return GETPRIVATEPROFILESTRING(section, key, def, FN_INI);
}

bool MyIZSRC::PUTINI(const QString& key, const QString& section, const QString& value) const {
  return WRITEPRIVATEPROFILESTRING(section, key, value, FN_INI);
}

void MyIZSRC::DODAJ_OBJEKAT(QPointer<QLabel>& label, const QString& caption, QPointer<QLineEdit>& address,
                            const QString& iniKey, QPointer<QLineEdit>* value) {
  label = new QLabel(caption);
  address = new QLineEdit;
  address->setMaximumWidth(int(6 * nPOINTSIZE));
  address->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  address->setText(GETINI(iniKey, cSEKCIJA));
  if (value) *value = new QLineEdit;
}

namespace {

QPushButton* button(const QString& text, const char* icon, const char* name) {
  auto* b = new QPushButton(QIcon(QString::fromLatin1(icon)), text);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

QLabel* centred(const QString& text) {
  auto* l = new QLabel(text);
  l->setAlignment(Qt::AlignCenter);
  return l;
}

}  // namespace

MyIZSRC::~MyIZSRC() {
  // Only the backend that was held, and only while it is still the one in force.
  if (oENGINE && &platform::workbookBackend() == oENGINE) oENGINE->releaseEngine();
}

void MyIZSRC::POSTAVI(bool lOds) {
  // The kind and the base's hooks.
  lODS = lOds;
  cSEKCIJA = lODS ? QStringLiteral("IZODS") : QStringLiteral("IZXLS");
  lIMA_IZLAZ = true;
  lIMA_RESIZE_TO_CONTENTS = false;
  lIMA_TABELU = true;
  cICO_RES = lODS ? QStringLiteral(":/res/openoffice.png") : QStringLiteral(":/res/excel.png");
  lSAKRIJ_VERTIKALU = true;

  // The size unit of the main window's font, the INI file and whether the
  // firm is in the VAT system.
  if (oMainWnd) {
    nPOINTSIZE = NPOINTSIZE(oMainWnd);
  } else {
    QWidget probe;
    probe.setFont(oFont);
    nPOINTSIZE = NPOINTSIZE(&probe);
  }
  FN_INI = korvan::FN_INI(QStringLiteral("aplik.ini"));
  lFIRMA_OBVPDV = GETINI(QStringLiteral("OBVPDV"), QStringLiteral("Firma"), QStringLiteral("F")) == u"T";

  // The eight buttons.
  obFAJL_SRC = button(lODS ? QStringLiteral("Izaberi ODS fajl") : QStringLiteral("Izaberi XLS fajl"),
                      ":/res/trazi.png", "obFAJL_SRC");
  obFAJL_PDF = button(QStringLiteral("Izaberi PDF fajl"), ":/res/trazi.png", "obFAJL_PDF");
  obRELOAD = button(QString::fromUtf8("Ponovo učitaj fajl"), ":/res/reload.png", "obRELOAD");
  obPRIK_SAKRIJ = button(QString::fromUtf8("Sakrij podešavanja"), ":/res/gore.png", "obPRIK_SAKRIJ");
  obZAPAMTI = button(QString::fromUtf8("Zapamti podešavanja"), ":/res/snimi.png", "obZAPAMTI");
  obPRILOZI = button(QStringLiteral("Prilozi"), ":/res/attach.png", "obPRILOZI");
  obPRAVI_XML = button(QStringLiteral("Napravi XML fajl"), ":/res/2desno.png", "obPRAVI_XML");
  obSALJI_XML = button(QString::fromUtf8("Napravi i pošalji XML fajl"), ":/res/salji.png", "obSALJI_XML");
  connect(obFAJL_SRC, &QPushButton::clicked, this, [this] {
    if (!IZABERI_FAJL(false)) return;
    PREPOZNAJ_VREDNOSTI(false);
    AUTO_POSTAVI_PDF_FAJL();
    QString att;
    AUTO_UCITAJ_ATT(att);
  });
  connect(obFAJL_PDF, &QPushButton::clicked, this, [this] { IZABERI_FAJL(true); });
  connect(obRELOAD, &QPushButton::clicked, this, [this] { PREPOZNAJ_VREDNOSTI(true); });
  connect(obPRIK_SAKRIJ, &QPushButton::clicked, this, &MyIZSRC::PRIK_SAKRIJ);
  connect(obZAPAMTI, &QPushButton::clicked, this, &MyIZSRC::ZAPAMTI);
  connect(obPRILOZI, &QPushButton::clicked, this, &MyIZSRC::PRILOZI);
  connect(obPRAVI_XML, &QPushButton::clicked, this, [this] { NAPRAVI_XML(false); });
  connect(obSALJI_XML, &QPushButton::clicked, this, &MyIZSRC::POSALJI_XML);
  for (QPushButton* b : {obFAJL_SRC.data(), obFAJL_PDF.data(), obRELOAD.data(), obPRIK_SAKRIJ.data(),
                         obZAPAMTI.data(), obPRILOZI.data(), obPRAVI_XML.data(), obSALJI_XML.data()})
    layTASTERI->addWidget(b);

  // The path rows.
  olblFAJL_SRC = new QLabel(lODS ? QStringLiteral("ODS fajl") : QStringLiteral("XLS fajl"));
  oleFAJL_SRC = new QLineEdit;
  oleFAJL_SRC->setObjectName(QStringLiteral("oleFAJL_SRC"));
  oleFAJL_SRC->setEnabled(false);
  cFAJL_SRC.clear();
  olblFAJL_PDF = new QLabel(QStringLiteral("PDF fajl"));
  oleFAJL_PDF = new QLineEdit;
  oleFAJL_PDF->setObjectName(QStringLiteral("oleFAJL_PDF"));
  oleFAJL_PDF->setEnabled(false);
  cFAJL_PDF.clear();

  // The column captions.
  olblCEL = centred(QString::fromUtf8("Oznaka ćelije"));
  olblVAL = centred(QStringLiteral("Vrednost"));
  olblCEL2 = centred(QString::fromUtf8("Oznaka ćelije"));
  olblVAL2 = centred(QStringLiteral("Vrednost"));

  // The header rows.
  for (const HeaderField& f : izsrc::headerFields()) {
    const QString key = QString::fromLatin1(f.key);
    if (f.text) {
      DODAJ_OBJEKAT(this->*f.label, QString::fromUtf8(f.caption), this->*f.address,
                    QStringLiteral("CEL_") + key, &(this->*f.text));
      (this->*f.text)->setObjectName(QStringLiteral("ole") + key);
    } else {
      DODAJ_OBJEKAT(this->*f.label, QString::fromUtf8(f.caption), this->*f.address,
                    QStringLiteral("CEL_") + key);
      auto* d = new QDateEdit;
      d->setCalendarPopup(true);
      d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
      // Today until a read gives a date: an invoice is never dated by the widget's own default.
      d->setDate(TODAY());
      d->setObjectName(QStringLiteral("odte") + key);
      this->*f.date = d;
    }
    (this->*f.address)->setObjectName(QStringLiteral("oleCEL_") + key);
  }

  // The VAT row.
  olblTAX_CAT = new QLabel(QStringLiteral("PDV kategorija"));
  ocmboTAX_CAT = new QComboBox;
  ocmboTAX_CAT->setObjectName(QStringLiteral("ocmboTAX_CAT"));
  olblTAX_EXEM = new QLabel(QString::fromUtf8("Šifra oslobađanja PDV-a"));
  obTAX_eXEM = new QPushButton;
  obTAX_eXEM->setObjectName(QStringLiteral("obTAX_eXEM"));
  POSTAVI_TAX_CAT_EXEM(ocmboTAX_CAT, obTAX_eXEM, lFIRMA_OBVPDV, oFont);
  // The longest category names show in the list only: sized to them, the
  // combo would make the window wider than most screens.
  ocmboTAX_CAT->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ocmboTAX_CAT->setMinimumContentsLength(20);

  // The row range and the column letters.
  DODAJ_OBJEKAT(olblPOC_RED, QString::fromUtf8("Početni red tabele roba i usluga"), olePOC_RED,
                QStringLiteral("POC_RED"));
  olePOC_RED->setObjectName(QStringLiteral("olePOC_RED"));
  DODAJ_OBJEKAT(olblKRAJ_RED, QStringLiteral("Krajnji red tabele roba i usluga"), oleKRAJ_RED,
                QStringLiteral("KRAJ_RED"));
  oleKRAJ_RED->setObjectName(QStringLiteral("oleKRAJ_RED"));
  for (const LineColumn& c : izsrc::lineColumns()) {
    const QString field = QString::fromLatin1(c.field);
    DODAJ_OBJEKAT(this->*c.label, QString::fromUtf8(c.caption), this->*c.letters, field);
    (this->*c.letters)->setObjectName(QStringLiteral("ole") + field);
  }

  // The field grid.
  layG2->addWidget(olblFAJL_SRC, 0, 0);
  layG2->addWidget(oleFAJL_SRC, 0, 1, 1, 5);
  layG2->addWidget(olblFAJL_PDF, 1, 0);
  layG2->addWidget(oleFAJL_PDF, 1, 1, 1, 5);
  layG2->addWidget(olblCEL, 2, 1);
  layG2->addWidget(olblVAL, 2, 2);
  layG2->addWidget(olblCEL2, 2, 4);
  layG2->addWidget(olblVAL2, 2, 5);
  for (const HeaderField& f : izsrc::headerFields()) {
    layG2->addWidget(this->*f.label, f.gridRow, f.gridColumn);
    layG2->addWidget(this->*f.address, f.gridRow, f.gridColumn + 1);
    QWidget* value = f.text ? static_cast<QWidget*>((this->*f.text).data()) : (this->*f.date).data();
    layG2->addWidget(value, f.gridRow, f.gridColumn + 2, 1, f.valueSpan);
  }
  layG2->addWidget(olblTAX_CAT, 17, 0);
  layG2->addWidget(ocmboTAX_CAT, 17, 2);
  layG2->addWidget(olblTAX_EXEM, 17, 3);
  layG2->addWidget(obTAX_eXEM, 17, 5);
  layG2->addWidget(olblPOC_RED, 18, 0);
  layG2->addWidget(olePOC_RED, 18, 1);
  layG2->addWidget(olblKRAJ_RED, 18, 3);
  layG2->addWidget(oleKRAJ_RED, 18, 4);
  for (int i = 0; i < izsrc::lineColumns().size(); ++i) {
    const LineColumn& c = izsrc::lineColumns()[i];
    const int row = 20 + 2 * (i / 2), col = 3 * (i % 2);
    layG2->addWidget(this->*c.label, row, col);
    layG2->addWidget(this->*c.letters, row, col + 1);
  }

  // Long captions may take two lines rather than widen the window.
  for (int i = 0; i < layG2->count(); ++i)
    if (auto* l = qobject_cast<QLabel*>(layG2->itemAt(i)->widget())) l->setWordWrap(true);
  layV->removeItem(layG2);
  layG2->setParent(nullptr);
  auto* fields = new QWidget;
  fields->setLayout(layG2);
  oscrPOLJA = new QScrollArea;
  oscrPOLJA->setObjectName(QStringLiteral("oscrPOLJA"));
  oscrPOLJA->setFrameShape(QFrame::NoFrame);
  oscrPOLJA->setWidgetResizable(true);
  oscrPOLJA->setWidget(fields);
  layV->addWidget(oscrPOLJA, 1);
  // The table shares the height with the fields.
  bIZVRSI_NA_KRAJU = [this] {
    if (oTABELA) layV->setStretchFactor(static_cast<QWidget*>(oTABELA.data()), 1);
  };

  // Nothing starts here: the first read starts the office, later reads find it.
  if (!oENGINE) {
    oENGINE = &platform::workbookBackend();
    oENGINE->holdEngine();
  }

  // The line table's columns, the settings shown or hidden as last time, and
  // this kind remembered as the last one opened.
  aKOLONE = INVOICE_LINE_TABLE();
  lPRIKAZANO = GETINI(QStringLiteral("PRIKAZ"), QStringLiteral("Config"), QStringLiteral("T")) == u"T";
  URADI_PRIKAZ();
  PUTINI(QStringLiteral("POSLEDNJI_KOJI"), QStringLiteral("Config"), VRSTA());
}

void MyIZSRC::PRIK_SAKRIJ() {
  lPRIKAZANO = !lPRIKAZANO;
  URADI_PRIKAZ();
  PUTINI(QStringLiteral("PRIKAZ"), QStringLiteral("Config"), lPRIKAZANO ? QStringLiteral("T") : QStringLiteral("F"));
}

void MyIZSRC::URADI_PRIKAZ() {
  QList<QWidget*> settings = {olblCEL, olblVAL, olblCEL2, olblVAL2, olblPOC_RED, olePOC_RED, olblKRAJ_RED,
                              oleKRAJ_RED};
  for (const HeaderField& f : izsrc::headerFields()) settings << this->*f.address;
  for (const LineColumn& c : izsrc::lineColumns()) settings << this->*c.label << this->*c.letters;
  for (QWidget* w : settings)
    if (w) w->setVisible(lPRIKAZANO);
  if (oscrPOLJA && oscrPOLJA->widget()) {
    const QSize fields = oscrPOLJA->widget()->sizeHint();
    oscrPOLJA->setMaximumHeight(fields.height() + 2 * oscrPOLJA->frameWidth() +
                                oscrPOLJA->horizontalScrollBar()->sizeHint().height());
  }
  if (obPRIK_SAKRIJ)
    obPRIK_SAKRIJ->setText(lPRIKAZANO ? QString::fromUtf8("Sakrij podešavanja") : QString::fromUtf8("Prikaži podešavanja"));
}

bool MyIZSRC::ZAPAMTI() {
  QList<std::pair<QString, QLineEdit*>> keys;
  for (const HeaderField& f : izsrc::headerFields())
    keys.append({QStringLiteral("CEL_") + QString::fromLatin1(f.key), this->*f.address});
  keys.append({QStringLiteral("POC_RED"), olePOC_RED});
  keys.append({QStringLiteral("KRAJ_RED"), oleKRAJ_RED});
  for (const LineColumn& c : izsrc::lineColumns()) keys.append({QString::fromLatin1(c.field), this->*c.letters});
  for (const auto& [key, edit] : keys)
    if (edit && !PUTINI(key, cSEKCIJA, edit->text())) return false;  // one message is enough
  return true;
}

}  // namespace korvan
