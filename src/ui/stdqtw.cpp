#include "ui/stdqtw.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/lookglobals.h"
#include "common/msg.h"
#include "ui/frame.h"
#include "ui/wraprow.h"

namespace korvan {

MyQTW::MyQTW() = default;

MyQTW::~MyQTW() {
  if (oWND) {
    // Nobody is left to answer the window's buttons: close it.
    disconnect(oWND, nullptr, this, nullptr);
    oWND->close();
  } else if (oDA && !oDA->parent()) {
    delete oDA.data();
  }
}

MyQTW& MyQTW::New(QMainWindow* mainWnd, QMdiArea* area, QObject* server, const QFont& font,
                  const QString& title) {
  oMainWnd = mainWnd;
  omdiAREA = area;
  oSERVER = server;
  oFont = font;
  oFontBold = QApplication::font();
  if (G_NVEL_FONT() > 0) oFontBold.setPointSize(G_NVEL_FONT());
  oFontBold.setWeight(QFont::Bold);
  oFontMali = QApplication::font();
  if (G_NVEL_FONTMALI() > 0) oFontMali.setPointSize(G_NVEL_FONTMALI());
  cNAZIV = title;

  if (oDA && !oDA->parent()) delete oDA.data();
  oDA = new QWidget;
  layV = new QVBoxLayout(oDA);
  layG = new QGridLayout;
  // Button rows wrap, so that no window is wider than a small screen.
  layTASTERI = new WrapRow;
  layTASTERI2 = new WrapRow;
  layTASTERI3 = new WrapRow;
  layG2 = new QGridLayout;
  layV->addLayout(layG);
  layV->addLayout(layTASTERI);
  layV->addLayout(layTASTERI2);
  layV->addLayout(layTASTERI3);
  layV->addLayout(layG2);
  return *this;
}

void MyQTW::PREGLED(QMdiSubWindow* prev) {
  // The sub-window, deleted when it closes; its end runs ZAVRSI(true) and
  // then lets this object go.
  oPREV_MDI = prev;
  oWND = new QMdiSubWindow;
  oWND->setAttribute(Qt::WA_DeleteOnClose);
  oWND->setWindowTitle(cNAZIV);
  oWND->setFont(oFont);
  if (!cICO_RES.isEmpty())
    oWND->setWindowIcon(QIcon(cICO_RES));
  else if (oMainWnd)
    oWND->setWindowIcon(oMainWnd->windowIcon());
  connect(oWND, &QObject::destroyed, this, [this] {
    ZAVRSI(true);
    deleteLater();
  });

  // The sub-window's key filter.
  if (bWND_FUNC_KEY) oWND->installEventFilter(this);

  // The standard buttons.
  if (lIMA_RESIZE_TO_CONTENTS) {
    obRESIZE_TO_CONTENTS = new QPushButton(QString::fromUtf8("Optimalna širina (Ctrl+O)"));
    obRESIZE_TO_CONTENTS->setIcon(QIcon(QStringLiteral(":/res/resizecol.png")));
    obRESIZE_TO_CONTENTS->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    connect(obRESIZE_TO_CONTENTS, &QPushButton::clicked, this, [this] {
      if (oTABELA) oTABELA->resizeColumnsToContents();
    });
  }
  if (lIMA_IZLAZ) {
    obIZLAZ = new QPushButton(QStringLiteral("Izlaz (Esc)"));
    obIZLAZ->setIcon(QIcon(QStringLiteral(":/res/izlaz.png")));
    obIZLAZ->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(obIZLAZ, &QPushButton::clicked, this, &MyQTW::RADI_ESC);
  }

  // The table.
  if (lIMA_TABELU) {
    oTABELA = new QTableWidget;
    oTABELA->setFont(lFONTMALI_TABELA ? oFontMali : oFont);
    POSTAVI_KOLONE_OD_aKOLONE();
    oTABELA->setShowGrid(true);
    oTABELA->setSelectionMode(QAbstractItemView::SingleSelection);
    oTABELA->setSelectionBehavior(QAbstractItemView::SelectItems);
    oTABELA->horizontalHeader()->setStretchLastSection(lSTRETCH_LAST);
    oTABELA->setAlternatingRowColors(lAlternatingRowColors);
    if (lSAKRIJ_VERTIKALU) oTABELA->verticalHeader()->hide();
    oTABELA->setRowCount(0);
    connect(oTABELA, &QTableWidget::cellDoubleClicked, this, &MyQTW::DBL_KLIK);
    if (bCURR_ITEM_CHANGED)
      connect(oTABELA, &QTableWidget::currentItemChanged, this, &MyQTW::CURR_ITEM_CHANGED);
    if (bHEAD_CLICKED)
      connect(oTABELA->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        if (bHEAD_CLICKED) bHEAD_CLICKED(c);
      });
    if (!aTABELA_KEY_FUNC.isEmpty()) oTABELA->installEventFilter(this);
  }

  // The subclass fills the table before the window shows.
  if (bODMAH_IZVRSI) bODMAH_IZVRSI();

  // The standard buttons after the subclass's own.
  if (obRESIZE_TO_CONTENTS) layTASTERI->addWidget(obRESIZE_TO_CONTENTS);
  if (obIZLAZ) layTASTERI->addWidget(obIZLAZ);

  // The search bar.
  if (lIMA_TRAZI) {
    layTRAZI = new QHBoxLayout;
    olblTRAZI = new QLabel(QString::fromUtf8("&Traži"));
    oleTRAZI = new QLineEdit;
    olblTRAZI->setBuddy(oleTRAZI);
    const QIcon trazi(QStringLiteral(":/res/trazi.png"));
    obTRAZI = new QPushButton(trazi, QString::fromUtf8("Nađi (F7)"));
    obTRAZI->setShortcut(QKeySequence(Qt::Key_F7));
    obSLEDECI = new QPushButton(trazi, QString::fromUtf8("Sledeći (F3)"));
    obSLEDECI->setShortcut(QKeySequence(Qt::Key_F3));
    connect(obTRAZI, &QPushButton::clicked, this, &MyQTW::TRAZI_PRVI);
    connect(obSLEDECI, &QPushButton::clicked, this, &MyQTW::TRAZI_SLEDECI);
    connect(oleTRAZI, &QLineEdit::textChanged, this, [this] { qLIST_TRAZI.reset(); });
    layTRAZI->addWidget(olblTRAZI);
    layTRAZI->addWidget(oleTRAZI);
    layTRAZI->addWidget(obTRAZI);
    layTRAZI->addWidget(obSLEDECI);
    layV->addLayout(layTRAZI);
  }

  // The table, the widget beside it and the widget under it.
  if (oTABELA) {
    if (oTABELA_DESNO) {
      layTABELE = new QHBoxLayout;
      layTABELE->addWidget(oTABELA);
      layTABELE->addWidget(oTABELA_DESNO);
      layV->addLayout(layTABELE);
    } else {
      layV->addWidget(oTABELA);
    }
  }
  if (oTABELA_ISPOD) layV->addWidget(oTABELA_ISPOD);

  // Into the area, maximised.
  oWND->setWidget(oDA);
  if (omdiAREA) omdiAREA->addSubWindow(oWND);
  oWND->showMaximized();

  // The subclass's last step, once the window shows.
  if (bIZVRSI_NA_KRAJU) bIZVRSI_NA_KRAJU();
}

void MyQTW::ZAVRSI(bool destroyed) {
  if (bZAVRSI) bZAVRSI();
  if (destroyed) return;
  if (oPREV_MDI && omdiAREA && omdiAREA->subWindowList().contains(oPREV_MDI.data()))
    omdiAREA->setActiveSubWindow(oPREV_MDI);
  if (oWND) oWND->close();
  lZATVOREN = true;
}

void MyQTW::RADI_ESC() {
  if (bPRE_ESC && !bPRE_ESC()) return;
  ZAVRSI(false);
}

void MyQTW::DBL_KLIK(int row, int column) {
  Q_UNUSED(row)
  Q_UNUSED(column)
}

void MyQTW::CURR_ITEM_CHANGED(QTableWidgetItem* current, QTableWidgetItem* previous) {
  if (bCURR_ITEM_CHANGED) bCURR_ITEM_CHANGED(current, previous);
}

bool MyQTW::FUNC_KEY(QKeyEvent* e) {
  if (!e) return false;
  for (const auto& pair : aTABELA_KEY_FUNC) {
    if (pair.first == e->key()) return pair.second ? pair.second() : false;
  }
  return false;
}

bool MyQTW::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(event);
    if (watched == oTABELA && !aTABELA_KEY_FUNC.isEmpty()) return FUNC_KEY(ke);
    if (watched == oWND && bWND_FUNC_KEY) return bWND_FUNC_KEY(ke);
  }
  return QObject::eventFilter(watched, event);
}

void VEC_OTVORENO(MyQTW* w) {
  if (w && w->omdiAREA && w->oWND) w->omdiAREA->setActiveSubWindow(w->oWND);
}

bool POSTOJI_OBJEKAT(const MyQTW* w) { return w && !w->lZATVOREN; }

}  // namespace korvan
