#pragma once
#include <QAbstractButton>
#include <QElapsedTimer>
// A small work window and a real main window with a tabbed area, for the
// work-window tests.
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "ui/stdqtw.h"

namespace korvan::test {

class Proba : public MyQTW {
 public:
  void POSTAVI() {
    aKOLONE = {MyKOLONA(QStringLiteral("IME"), QStringLiteral("Ime"), QStringLiteral("C"), 20),
               MyKOLONA(QStringLiteral("GRAD"), QStringLiteral("Grad"), QStringLiteral("C"), 15),
               MyKOLONA(QStringLiteral("SIFRA"), QString::fromUtf8("Šifra\nartikla"), QStringLiteral("C"), 10),
               MyKOLONA(QStringLiteral("ODOB"), QStringLiteral("Odobreno?"), QStringLiteral("L"), 1)};
    lblGore = new QLabel(QStringLiteral("Gore"));
    layG->addWidget(lblGore, 0, 0);
    obPrvi = new QPushButton(QStringLiteral("Prvi"));
    layTASTERI->addWidget(obPrvi);
    lblT2 = new QLabel(QStringLiteral("T2"));
    layTASTERI2->addWidget(lblT2);
    lblT3 = new QLabel(QStringLiteral("T3"));
    layTASTERI3->addWidget(lblT3);
    lblG2 = new QLabel(QStringLiteral("G2"));
    layG2->addWidget(lblG2, 0, 0);
  }
  // Rows of texts, one cell per column, each with its row number hidden.
  void fill(const QList<QStringList>& rows) {
    oTABELA->setRowCount(0);
    oTABELA->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
      for (int c = 0; c < rows[r].size(); ++c)
        POSTAVI_KOLONU(aKOLONE, c + 1, rows[r][c], r, QString::number(r + 1));
  }
  void DBL_KLIK(int row, int column) override { dblKlik << QPair<int, int>(row, column); }

  QPointer<QLabel> lblGore, lblT2, lblT3, lblG2;
  QPointer<QPushButton> obPrvi;
  QList<QPair<int, int>> dblKlik;
};

class WorkWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    mw = new QMainWindow;
    area = new QMdiArea;
    area->setViewMode(QMdiArea::TabbedView);
    mw->setCentralWidget(area);
    mw->resize(1000, 700);
    mw->show();
    mw->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mw));
  }
  void TearDown() override {
    delete mw.data();
    settle();
  }
  // New, POSTAVI with the test's own settings, PREGLED: the shell's three calls.
  Proba* open(const QString& title, const std::function<void(Proba&)>& setup = {}) {
    auto* w = new Proba;
    w->New(mw, area, nullptr, QApplication::font(), title);
    w->POSTAVI();
    if (setup) setup(*w);
    w->PREGLED(area->activeSubWindow());
    QCoreApplication::processEvents();
    return w;
  }
  // Runs pending events and deferred deletes, as the event loop would.
  static void settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  // A key as the user presses it: to the focused widget, through the shortcuts.
  // A button's shortcut clicks it after a short animation, so wait for that.
  static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* f = QApplication::focusWidget();
    ASSERT_NE(f, nullptr) << "nothing has the focus";
    QTest::keyClick(f, key, mods);
    waitForAnimatedClicks();
  }
  // A shortcut presses its button down and releases it (the click) about
  // 100 ms later; under load that can take longer, so wait until no button
  // is down any more rather than for a fixed time.
  static void waitForAnimatedClicks() {
    QTest::qWait(120);
    QElapsedTimer t;
    t.start();
    auto anyDown = [] {
      for (QWidget* w : QApplication::allWidgets())
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isDown()) return true;
      return false;
    };
    while (anyDown() && t.elapsed() < 10000) QTest::qWait(10);
    QCoreApplication::processEvents();
  }
  static void focusIn(MyQTW* w) {
    w->omdiAREA->setActiveSubWindow(w->oWND);
    QWidget* target = w->oTABELA ? static_cast<QWidget*>(w->oTABELA) : w->obIZLAZ.data();
    target->setFocus();
    QCoreApplication::processEvents();
  }

  QPointer<QMainWindow> mw;
  QMdiArea* area = nullptr;
};

}  // namespace korvan::test
