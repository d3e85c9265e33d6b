#pragma once
// The clipboard import window in a real main window, with a program folder of
// its own, scripted boxes and file dialogs, and helpers that act on the pane
// as the user does (mouse drags and keys on the real widgets).
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/ini.h"
#include "common/presenter.h"
#include "einvoice/fixture.h"
#include "ui/windlg.h"
#include "windows/izclip.h"
#include "invoice_window_fixture.h"

namespace korvan::test {

class IzclipTest : public InvoiceWindowTest {
 protected:
  IzclipTest() { mainSize = QSize(1366, 768); }

  // The shell's three calls.
  MyIZCLIP* open() {
    auto* w = new MyIZCLIP;
    w->New(mw, area, nullptr, QApplication::font(), QStringLiteral("Import iz ClipBoard-a"));
    w->POSTAVI();
    w->PREGLED(area->activeSubWindow());
    QCoreApplication::processEvents();
    return w;
  }

  // Puts text on the clipboard and presses the paste button.
  static void paste(MyIZCLIP* w, const QString& text) {
    QApplication::clipboard()->setText(text);
    w->obPASTE_CLIP->click();
  }

  // The field row of a key.
  static int row(MyIZCLIP* w, const QString& key) {
    for (int r = 0; r < w->otwTABELA_POLJA->rowCount(); ++r)
      if (w->otwTABELA_POLJA->item(r, 0)->whatsThis() == key) return r;
    ADD_FAILURE() << "no row " << key.toStdString();
    return -1;
  }
  static QString cellText(MyIZCLIP* w, const QString& key, int column) {
    const QTableWidgetItem* it = w->otwTABELA_POLJA->item(row(w, key), column);
    return it ? it->text() : QStringLiteral("<none>");
  }
  static QString position(MyIZCLIP* w, const QString& key) { return cellText(w, key, 1); }
  static QString value(MyIZCLIP* w, const QString& key) { return cellText(w, key, 2); }
  // Types a position into the field's cell, as the user edits it.
  static void type(MyIZCLIP* w, const QString& key, const QString& text) {
    w->otwTABELA_POLJA->item(row(w, key), 1)->setText(text);
  }
  static void current(MyIZCLIP* w, const QString& key) {
    w->otwTABELA_POLJA->setCurrentCell(row(w, key), 0);
  }
  // One cell of the items table by field name.
  static QString item(MyIZCLIP* w, int r, const QString& field) {
    const QTableWidgetItem* it = w->otwTABELA_STAVKI->item(r, KOLONA_PO_POLJU(w->aKOLONE_STAVKI, field));
    return it ? it->text() : QStringLiteral("<none>");
  }

  // The viewport point of a text position (row and column from 1) of the pane.
  static QPoint at(MyIZCLIP* w, int row, int column) {
    QTextCursor c(w->oteCLIP->document());
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::NextBlock, QTextCursor::MoveAnchor, row - 1);
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column - 1);
    const QRect r = w->oteCLIP->cursorRect(c);
    return QPoint(r.left() + 1, r.center().y());
  }
  // Makes the pane's cell visible first, so the mouse can reach it.
  static void reveal(MyIZCLIP* w, int row, int column) {
    QTextCursor c(w->oteCLIP->document());
    c.movePosition(QTextCursor::NextBlock, QTextCursor::MoveAnchor, row - 1);
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column - 1);
    w->oteCLIP->setTextCursor(c);
    w->oteCLIP->ensureCursorVisible();
    QCoreApplication::processEvents();
  }
  // A mouse drag from one cell to another (both from 1).
  static void drag(MyIZCLIP* w, int row, int fromColumn, int toColumn) {
    reveal(w, row, fromColumn);
    QWidget* vp = w->oteCLIP->viewport();
    const QPoint a = at(w, row, fromColumn), b = at(w, row, toColumn);
    QTest::mousePress(vp, Qt::LeftButton, {}, a);
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(vp, a + (b - a) * i / 4);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, b);
    QCoreApplication::processEvents();
  }
  // The cursor put on a cell without selecting.
  static void place(MyIZCLIP* w, int row, int column) {
    reveal(w, row, column);
    w->oteCLIP->setFocus();
  }
  // F2 as the user presses it; answers the position stored in the field.
  static QString f2(MyIZCLIP* w, const QString& key) {
    current(w, key);
    w->oteCLIP->setFocus();
    QTest::keyClick(w->oteCLIP, Qt::Key_F2);
    QTest::qWait(150);
    return position(w, key);
  }

};

}  // namespace korvan::test
