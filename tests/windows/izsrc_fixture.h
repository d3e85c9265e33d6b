#pragma once
// The spreadsheet import window in a real main window, with a program folder
// of its own, scripted boxes and file dialogs, and the fake workbook backend.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
#include "common/ini.h"
#include "common/numbers.h"
#include "common/presenter.h"
#include "einvoice/fixture.h"
#include "einvoice/ui/invoicesend.h"
#include "support/fakeworkbook.h"
#include "ui/windlg.h"
#include "windows/izsrc.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

namespace korvan::test {

// Takes the send step while it lives: onSend answers in place of ERACUNI_SALJI.
struct SendRecorder : InvoiceSender {
  using Send = std::function<bool(QWidget* mainWindow, const MyERACUN& record, const EfmAccount& account,
                                  const SendSuccessAction& onSuccess, bool offerRegister)>;
  explicit SendRecorder(Send s) : onSend(std::move(s)) { setInvoiceSender(this); }
  ~SendRecorder() override { setInvoiceSender(nullptr); }
  bool send(QWidget* mainWindow, const QFont&, const MyERACUN& record, const EfmAccount& account,
            const SendSuccessAction& onSuccess, bool offerRegister) override {
    return onSend(mainWindow, record, account, onSuccess, offerRegister);
  }
  Send onSend;
};

// Sets a file's last write time.
inline void touch(const QString& path, const QDateTime& when) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite)) << path.toStdString();
  ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

class IzsrcTest : public ::testing::Test {
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
    mw->resize(1200, 800);
    mw->show();
  }
  void TearDown() override {
    delete mw.data();
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    SET_TODAY_CLOCK({});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor was left on";
    EXPECT_EQ(books.openNow, 0) << "a workbook was left open";
  }

  // The shell's three calls.
  MyIZSRC* open(bool ods) {
    auto* w = new MyIZSRC;
    w->New(mw, area, nullptr, QApplication::font(), ods ? "Import iz ODS" : "Import iz XLS");
    w->POSTAVI(ods);
    w->PREGLED(area->activeSubWindow());
    QCoreApplication::processEvents();
    windows << w;
    return w;
  }

  // A workbook file (its content is the fake's) in the work folder.
  QString workbook(const QString& name) {
    const QString path = work + "/" + name;
    writeFile(path, "workbook");
    return path;
  }

  // Chooses the workbook through the window's button, as the user does.
  void choose(MyIZSRC* w, const QString& path) {
    files.answers << QStringList{path};
    w->obFAJL_SRC->click();
  }

  // Types the settings: header addresses by key ("BRDOK" -> "B1"), then the
  // row range and the column letters by field.
  static void settings(MyIZSRC* w, const QList<std::pair<QString, QString>>& values) {
    for (const auto& [key, text] : values) {
      QLineEdit* e = w->oDA->findChild<QLineEdit*>("oleCEL_" + key);
      if (!e) e = w->oDA->findChild<QLineEdit*>("ole" + key);
      ASSERT_NE(e, nullptr) << key.toStdString();
      e->setText(text);
    }
  }

  static QString cell(MyIZSRC* w, int row, const QString& field) {
    const int c = KOLONA_PO_POLJU(w->aKOLONE, field);
    const QTableWidgetItem* it = w->oTABELA->item(row, c);
    return it ? it->text() : QString("<none>");
  }

  QString iniValue(const QString& section, const QString& key) const {
    return GETPRIVATEPROFILESTRING(section, key, "<absent>", ini);
  }

  // A blank and a Serbian letter in every path.
  TempProgramFolder dir{QString::fromUtf8("program š")};
  QString ini, work;
  QPointer<QMainWindow> mw;
  QMdiArea* area = nullptr;
  ScriptedPresenter boxes;
  ScriptedFileDialogs files;
  FakeWorkbooks books;
  QList<QPointer<MyIZSRC>> windows;
};

}  // namespace korvan::test
