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
#include "izsrc_fixture.h"
#include "windows/slobun.h"

namespace korvan::test {

// The program folder, the INI, the clock and the main window of the import
// window's tests, with TMP made, quick table retries and no table left open.
class SlobunTest : public IzsrcTest {
 protected:
  void SetUp() override {
    IzsrcTest::SetUp();
    QDir().mkpath(GETAPPPATH() + "TMP");
    setLibdbfDelay([](double) {});
    mw->resize(1366, 768);
  }
  void TearDown() override {
    IzsrcTest::TearDown();
    EXPECT_TRUE(dbf::openAliases().isEmpty()) << "a table was left open";
    dbf::closeAllAreas();
    setLibdbfDelay({});
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
  QString tmp(const QString& name) const { return GETAPPPATH() + "TMP/" + name; }

};

}  // namespace korvan::test
