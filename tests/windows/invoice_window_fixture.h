#pragma once
// What every invoice window test stands on: a program folder of its own (a
// blank and a Serbian letter in its path) with a seller's "aplik.ini", a work
// folder, a fixed today, a real main window with a tabbed area, and scripted
// boxes and file dialogs.
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/ini.h"
#include "common/presenter.h"
#include "einvoice/fixture.h"
#include "support/programfolder.h"
#include "support/scriptedpresenter.h"
#include "ui/windlg.h"

namespace korvan::test {

class InvoiceWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ini = FN_INI("aplik.ini");
    writeFile(ini, sellerIni("T"));
    work = dir.filePath(QString::fromUtf8("Računi 2022"));
    QDir().mkpath(work);
    SET_TODAY_CLOCK([] { return QDate(2022, 12, 14); });
    mw = new QMainWindow;
    area = new QMdiArea;
    area->setViewMode(QMdiArea::TabbedView);
    mw->setCentralWidget(area);
    mw->resize(mainSize);
    mw->show();
  }
  void TearDown() override {
    delete mw.data();
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    SET_TODAY_CLOCK({});
  }

  QString iniValue(const QString& section, const QString& key) const {
    return GETPRIVATEPROFILESTRING(section, key, "<absent>", ini);
  }

  QSize mainSize{1200, 800};
  // A blank and a Serbian letter in every path.
  TempProgramFolder dir{QString::fromUtf8("program š")};
  QString ini, work;
  QPointer<QMainWindow> mw;
  QMdiArea* area = nullptr;
  ScriptedPresenter boxes;
  ScriptedFileDialogs files;
};

}  // namespace korvan::test
