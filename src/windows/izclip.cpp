// Building the clipboard import window, its settings and their display.
#include "windows/izclip.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

#include "common/apppath.h"
#include "common/ini.h"
#include "einvoice/ui/linetable.h"
#include "windows/winparts.h"

namespace korvan {

QString MyIZCLIP::GETINI(const QString& key, const QString& section, const QString& def) const {
  return GETPRIVATEPROFILESTRING(section, key, def, FN_INI);
}

bool MyIZCLIP::PUTINI(const QString& key, const QString& section, const QString& value) const {
  return WRITEPRIVATEPROFILESTRING(section, key, value, FN_INI);
}

namespace {

// A value label: boxed, centred, empty.
QLabel* valueLabel(const char* name) {
  auto* l = new QLabel;
  l->setObjectName(QString::fromLatin1(name));
  l->setFrameStyle(QFrame::Box | QFrame::Plain);
  l->setAlignment(Qt::AlignCenter);
  return l;
}

// Widths by the columns' rule, captions as header labels; the maximum width
// of the table is the columns' sum + 10.
void setColumns(QTableWidget* t, const QList<MyKOLONA>& kolone, double unit) {
  t->setColumnCount(int(kolone.size()));
  QStringList captions;
  int sum = 0;
  for (int i = 0; i < kolone.size(); ++i) {
    captions << kolone[i].NASLOV;
    const int w = SIRINA_KOLONE(kolone[i], unit);
    t->setColumnWidth(i, w);
    sum += w;
  }
  t->setHorizontalHeaderLabels(captions);
  t->setMaximumWidth(sum + 10);
  t->setShowGrid(true);
  t->horizontalHeader()->setStretchLastSection(true);
  t->verticalHeader()->hide();
}

}  // namespace

void MyIZCLIP::buildFieldsTable() {
  auto c = [](const char* f, const char* caption, int len) {
    return MyKOLONA::New(QString::fromLatin1(f), QString::fromLatin1(caption), QStringLiteral("C"), len);
  };
  aKOLONE_POLJA = {c("OPIS", "Opis", 28), c("POZICIJA", "Pozicija", 15), c("VREDNOST", "Vrednost", 30)};
  otwTABELA_POLJA = new QTableWidget;
  otwTABELA_POLJA->setObjectName(QStringLiteral("otwTABELA_POLJA"));
  otwTABELA_POLJA->setFont(oFont);
  nPOINTSIZE4TABELA = NPOINTSIZE(otwTABELA_POLJA) * 0.75;
  setColumns(otwTABELA_POLJA, aKOLONE_POLJA, nPOINTSIZE4TABELA);
  otwTABELA_POLJA->setSelectionMode(QAbstractItemView::SingleSelection);
  otwTABELA_POLJA->setSelectionBehavior(QAbstractItemView::SelectRows);
  POPUNI_otwTABELA_POLJA();
}

void MyIZCLIP::buildItemsTable() {
  aKOLONE_STAVKI = INVOICE_LINE_TABLE();
  otwTABELA_STAVKI = new QTableWidget;
  otwTABELA_STAVKI->setObjectName(QStringLiteral("otwTABELA_STAVKI"));
  otwTABELA_STAVKI->setFont(oFontMali);
  nPOINTSIZE_MALI = NPOINTSIZE(otwTABELA_STAVKI);
  setColumns(otwTABELA_STAVKI, aKOLONE_STAVKI, nPOINTSIZE_MALI * 0.75);
  otwTABELA_STAVKI->setSelectionMode(QAbstractItemView::SingleSelection);
  otwTABELA_STAVKI->setEditTriggers(QAbstractItemView::NoEditTriggers);
  otwTABELA_STAVKI->setRowCount(0);
}

void MyIZCLIP::buildPane() {
  oteCLIP = new QTextEdit;
  oteCLIP->setObjectName(QStringLiteral("oteCLIP"));
  oteCLIP->setFont(courierFont());
  oteCLIP->setAcceptRichText(false);
  oteCLIP->setContextMenuPolicy(Qt::NoContextMenu);
  oteCLIP->setLineWrapMode(QTextEdit::FixedColumnWidth);
  oteCLIP->setLineWrapColumnOrWidth(200);
  oteCLIP->installEventFilter(this);
  connect(oteCLIP, &QTextEdit::cursorPositionChanged, this, &MyIZCLIP::PRIKAZI_ROW_COL);
  connect(oteCLIP, &QTextEdit::selectionChanged, this, &MyIZCLIP::PRIKAZI_ROW_COL);
  connect(oteCLIP, &QTextEdit::copyAvailable, this, [this](bool yes) {
    if (yes && !lSELEKTOVANO) lPRVI_SELEKTOVANO = true;
    lSELEKTOVANO = yes;
    if (!yes) lPRVI_SELEKTOVANO = true;
  });
}

bool MyIZCLIP::eventFilter(QObject* watched, QEvent* event) {
  // The event's type first: while the pane is being destroyed it still sends
  // events here, and the guarded pointer may not be read as a text editor then.
  if (event->type() == QEvent::KeyPress && watched == oteCLIP && oteCLIP_KEY(static_cast<QKeyEvent*>(event)))
    return true;
  return MyQTW::eventFilter(watched, event);
}

bool MyIZCLIP::oteCLIP_KEY(QKeyEvent* e) {
  // Only the window's button pastes: the pane must never take rich or
  // unfiltered text by itself, whatever the platform's paste keys are.
  return e->matches(QKeySequence::Paste);
}

void MyIZCLIP::POSTAVI() {
  lIMA_IZLAZ = true;
  lIMA_RESIZE_TO_CONTENTS = false;
  lIMA_TABELU = false;
  cICO_RES = QStringLiteral(":/res/paste.png");
  lSAKRIJ_VERTIKALU = true;

  nPOINTSIZE = mainWindowUnit(oMainWnd, oFont);
  FN_INI = korvan::FN_INI(QStringLiteral("aplik.ini"));

  obPASTE_CLIP = windowButton(QStringLiteral("Nanesi iz ClipBoard-a (Ctrl+V)"), ":/res/paste.png", "obPASTE_CLIP",
                        QKeySequence(QStringLiteral("Ctrl+V")));
  obFAJL_PDF = windowButton(QStringLiteral("Izaberi PDF fajl"), ":/res/trazi.png", "obFAJL_PDF");
  obPRIK_SAKRIJ = windowButton(QString::fromUtf8("Sakrij podešavanja"), ":/res/gore.png", "obPRIK_SAKRIJ");
  obOZNACI_POLJA = windowButton(QString::fromUtf8("Označi polja"), ":/res/trazi.png", "obOZNACI_POLJA");
  obPRAVI_XML = windowButton(QStringLiteral("Napravi XML fajl"), ":/res/2desno.png", "obPRAVI_XML");
  obSALJI_XML = windowButton(QString::fromUtf8("Napravi i pošalji XML fajl"), ":/res/salji.png", "obSALJI_XML");
  obUZMI_POZICIJE = windowButton(QStringLiteral("Upiši pozicije selektovanog (F2)"), ":/res/izmeni.png",
                           "obUZMI_POZICIJE", QKeySequence(Qt::Key_F2));
  obBRISI_POZICIJE = windowButton(QStringLiteral("Brisi pozicije (F4)"), ":/res/brisi.png", "obBRISI_POZICIJE",
                            QKeySequence(Qt::Key_F4));
  obZAPAMTI = windowButton(QString::fromUtf8("Zapamti podešavanja (Ctrl+S)"), ":/res/snimi.png", "obZAPAMTI",
                     QKeySequence(QStringLiteral("Ctrl+S")));
  obMORA_NUM_KOLONA = windowButton(QString::fromUtf8("Kolona numeričke validacije"), ":/res/accept.png",
                             "obMORA_NUM_KOLONA");
  connect(obPASTE_CLIP, &QPushButton::clicked, this, [this] {
    PASTE_CLIP();
    OZNACI_POLJA(true);
  });
  connect(obFAJL_PDF, &QPushButton::clicked, this, [this] { IZABERI_PDF_FAJL(); });
  connect(obPRIK_SAKRIJ, &QPushButton::clicked, this, &MyIZCLIP::PRIK_SAKRIJ);
  connect(obOZNACI_POLJA, &QPushButton::clicked, this, [this] { OZNACI_POLJA(false); });
  connect(obPRAVI_XML, &QPushButton::clicked, this, [this] { NAPRAVI_XML(false); });
  connect(obSALJI_XML, &QPushButton::clicked, this, &MyIZCLIP::POSALJI_XML);
  connect(obUZMI_POZICIJE, &QPushButton::clicked, this, [this] {
    UZMI_POZICIJE();
    OZNACI_POLJA(true);
  });
  connect(obBRISI_POZICIJE, &QPushButton::clicked, this, &MyIZCLIP::BRISI_POZICIJE);
  connect(obZAPAMTI, &QPushButton::clicked, this, &MyIZCLIP::ZAPAMTI);
  connect(obMORA_NUM_KOLONA, &QPushButton::clicked, this, &MyIZCLIP::SET_MORA_NUM_KOLONA);
  for (QPushButton* b : {obPASTE_CLIP.data(), obFAJL_PDF.data(), obPRIK_SAKRIJ.data(), obOZNACI_POLJA.data(),
                         obPRAVI_XML.data(), obSALJI_XML.data()})
    layTASTERI->addWidget(b);
  for (QPushButton* b : {obUZMI_POZICIJE.data(), obBRISI_POZICIJE.data(), obZAPAMTI.data(),
                         obMORA_NUM_KOLONA.data()})
    layTASTERI2->addWidget(b);

  UZMI_MORA_NUM_KOLONA();
  buildFieldsTable();
  buildItemsTable();

  olblFAJL_PDF = new QLabel(QStringLiteral("PDF fajl"));
  oleFAJL_PDF = new QLineEdit;
  oleFAJL_PDF->setObjectName(QStringLiteral("oleFAJL_PDF"));
  oleFAJL_PDF->setEnabled(false);

  auto caption = [](const char* text) { return new QLabel(QString::fromUtf8(text)); };
  olblTRENUTNI_ROW_COL = caption("Trenutni red/kolona:");
  olblROW_STATIC = caption("Red:");
  olblROW = valueLabel("olblROW");
  olblCOL_STATIC = caption("Kolona:");
  olblCOL = valueLabel("olblCOL");
  olblPOC_SEL_ROW_COL = caption("Početni selektovani red/kolona:");
  olblPOC_SEL_ROW_STATIC = caption("Red:");
  olblPOC_SEL_ROW = valueLabel("olblPOC_SEL_ROW");
  olblPOC_SEL_COL_STATIC = caption("Kolona:");
  olblPOC_SEL_COL = valueLabel("olblPOC_SEL_COL");
  olblKRAJ_SEL_ROW_COL = caption("Krajnji selektovani red/kolona:");
  olblKRAJ_SEL_ROW_STATIC = caption("Red:");
  olblKRAJ_SEL_ROW = valueLabel("olblKRAJ_SEL_ROW");
  olblKRAJ_SEL_COL_STATIC = caption("Kolona:");
  olblKRAJ_SEL_COL = valueLabel("olblKRAJ_SEL_COL");

  buildPane();

  layG->addWidget(otwTABELA_POLJA, 0, 0);
  layG->addWidget(otwTABELA_STAVKI, 0, 1);
  layG2->addWidget(olblFAJL_PDF, 0, 0);
  layG2->addWidget(oleFAJL_PDF, 0, 1, 1, 4);
  const QList<QList<QLabel*>> rows = {
      {olblTRENUTNI_ROW_COL, olblROW_STATIC, olblROW, olblCOL_STATIC, olblCOL},
      {olblPOC_SEL_ROW_COL, olblPOC_SEL_ROW_STATIC, olblPOC_SEL_ROW, olblPOC_SEL_COL_STATIC, olblPOC_SEL_COL},
      {olblKRAJ_SEL_ROW_COL, olblKRAJ_SEL_ROW_STATIC, olblKRAJ_SEL_ROW, olblKRAJ_SEL_COL_STATIC, olblKRAJ_SEL_COL}};
  for (int r = 0; r < rows.size(); ++r)
    for (int c = 0; c < rows[r].size(); ++c) layG2->addWidget(rows[r][c], r + 1, c);
  layG2->addWidget(oteCLIP, 4, 0, 1, 5);

  lPRIKAZANO = GETINI(QStringLiteral("PRIKAZ"), QStringLiteral("Config"), QStringLiteral("T")) == u"T";
  URADI_PRIKAZ();
  PUTINI(QStringLiteral("POSLEDNJI_KOJI"), QStringLiteral("Config"), QStringLiteral("CLIP"));
}

void MyIZCLIP::URADI_PRIKAZ() {
  const QList<QWidget*> tools = {
      obUZMI_POZICIJE,  obBRISI_POZICIJE,       obZAPAMTI,        obMORA_NUM_KOLONA,
      olblTRENUTNI_ROW_COL, olblROW_STATIC,     olblROW,          olblCOL_STATIC,
      olblCOL,          olblPOC_SEL_ROW_COL,    olblPOC_SEL_ROW_STATIC, olblPOC_SEL_ROW,
      olblPOC_SEL_COL_STATIC, olblPOC_SEL_COL,  olblKRAJ_SEL_ROW_COL, olblKRAJ_SEL_ROW_STATIC,
      olblKRAJ_SEL_ROW, olblKRAJ_SEL_COL_STATIC, olblKRAJ_SEL_COL};
  for (QWidget* w : tools)
    if (w) w->setVisible(lPRIKAZANO);
  if (otwTABELA_POLJA) otwTABELA_POLJA->setColumnHidden(KOLONA_PO_POLJU(aKOLONE_POLJA, "POZICIJA"), !lPRIKAZANO);
  if (obPRIK_SAKRIJ)
    obPRIK_SAKRIJ->setText(lPRIKAZANO ? QString::fromUtf8("Sakrij podešavanja") : QString::fromUtf8("Prikaži podešavanja"));
}

void MyIZCLIP::PRIK_SAKRIJ() {
  lPRIKAZANO = !lPRIKAZANO;
  URADI_PRIKAZ();
  PUTINI(QStringLiteral("PRIKAZ"), QStringLiteral("Config"), lPRIKAZANO ? QStringLiteral("T") : QStringLiteral("F"));
}

bool MyIZCLIP::ZAPAMTI() {
  if (!otwTABELA_POLJA) return false;
  const int posColumn = KOLONA_PO_POLJU(aKOLONE_POLJA, "POZICIJA");
  for (int row = 0; row < otwTABELA_POLJA->rowCount(); ++row) {
    const QTableWidgetItem* key = otwTABELA_POLJA->item(row, 0);
    const QTableWidgetItem* pos = otwTABELA_POLJA->item(row, posColumn);
    if (!key || key->whatsThis().isEmpty()) continue;
    if (!PUTINI(key->whatsThis(), cSEKCIJA, pos ? pos->text() : QString())) return false;  // one message is enough
  }
  return PISI_MORA_NUM_KOLONA();
}

}  // namespace korvan
