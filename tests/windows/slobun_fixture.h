#pragma once
// The free invoice entry window in a real main window, with a program folder
// of its own and scripted boxes; cells are typed through the table's editor.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/dbf/workarea.h"
#include "common/ini.h"
#include "common/libdbf.h"
#include "common/presenter.h"
#include "einvoice/fixture.h"
#include "windows/slobun.h"

namespace korvan::test {

class SlobunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    previousAppPath = GETAPPPATH();
    SET_APPPATH(dir.filePath(QString::fromUtf8("program š")));
    QDir().mkpath(GETAPPPATH() + "TMP");
    ini = FN_INI("aplik.ini");
    writeFile(ini, sellerIni("T"));
    SET_TODAY_CLOCK([] { return QDate(2022, 12, 14); });
    setLibdbfDelay([](double) {});
    mw = new QMainWindow;
    area = new QMdiArea;
    area->setViewMode(QMdiArea::TabbedView);
    mw->setCentralWidget(area);
    mw->resize(1366, 768);
    mw->show();
  }
  void TearDown() override {
    delete mw.data();
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(dbf::openAliases().isEmpty()) << "a table was left open";
    dbf::closeAllAreas();
    setLibdbfDelay({});
    SET_TODAY_CLOCK({});
    SET_APPPATH(previousAppPath);
  }

  // The shell's three calls.
  MySLOBUN* open(bool yt) {
    auto* w = new MySLOBUN;
    w->New(mw, area, nullptr, QApplication::font(), yt ? "Slobodan unos iz XLS" : "Slobodan unos");
    w->POSTAVI(yt);
    w->PREGLED(area->activeSubWindow());
    QCoreApplication::processEvents();
    return w;
  }

  // Types into a cell as the user does: the cell's editor, the text, Return.
  static void type(MySLOBUN* w, int row, const char* field, const QString& text) {
    const int c = KOLONA_PO_POLJU(w->aKOLONE, QString::fromLatin1(field));
    ASSERT_GE(c, 0) << field;
    QTableWidgetItem* it = w->oTABELA->item(row - 1, c);
    ASSERT_NE(it, nullptr);
    w->oTABELA->setFocus();
    w->oTABELA->setCurrentCell(row - 1, c);
    w->oTABELA->editItem(it);
    QCoreApplication::processEvents();
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "no cell editor for " << field;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
  }
  static QString cell(MySLOBUN* w, int row, const char* field) {
    return w->VRATI_STR_VREDNOST(QString::fromLatin1(field), row);
  }
  static QString total(MySLOBUN* w) { return qobject_cast<QLabel*>(w->oTABELA_ISPOD.data())->text(); }
  // Sets a field's text and finishes editing it as the user does.
  static void finish(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->setText(text);
    QTest::keyClick(e, Qt::Key_Return);
  }
  static QStringList buttons(QHBoxLayout* lay) {
    QStringList out;
    for (int i = 0; i < lay->count(); ++i)
      if (auto* b = qobject_cast<QPushButton*>(lay->itemAt(i)->widget())) out << b->text();
    return out;
  }
  QString iniValue(const QString& section, const QString& key) const {
    return GETPRIVATEPROFILESTRING(section, key, "<absent>", ini);
  }
  QString tmp(const QString& name) const { return GETAPPPATH() + "TMP/" + name; }

  QTemporaryDir dir;
  QString previousAppPath, ini;
  QPointer<QMainWindow> mw;
  QMdiArea* area = nullptr;
  ScriptedPresenter boxes;
};

}  // namespace korvan::test
