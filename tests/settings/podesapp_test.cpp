// The application settings dialog driven offscreen with a scripted folder
// dialog, and the loader of its keys.
#include "settings/podesapp.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/globals.h"
#include "common/presenter.h"
#include "ui/modal.h"
#include "ui/windlg.h"
#include "support/scriptedpresenter.h"

using namespace korvan;
using korvan::test::button;
using korvan::test::whenActive;

namespace {

class Podesapp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    previousPath = GETAPPPATH();
    SET_APPPATH(dir.path());
  }
  void TearDown() override {
    SET_APPPATH(previousPath);
    G_CFOLDER_SALJI_MEJLOM(QString());
    G_CFOLDER_CUVANJE(QString());
    G_CFOLDER_ER4APLIK(QString());
    G_CFOLDER_ER2APLIK(QString());
    G_LDORVATIK_APP(false);
  }
  QString ini() const { return dir.filePath("aplik.ini"); }
  void writeIni(const QByteArray& text) {
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  }
  QByteArray readIni() const {
    QFile f(ini());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static QLineEdit* edit(QWidget* d, int row) {
    return d->findChild<QLineEdit*>(QStringLiteral("EDIT_%1_%1_1").arg(row));
  }

  QTemporaryDir dir;
  QString previousPath;
};

TEST_F(Podesapp, LoaderReadsTheFiveKeysWithTheirDefaults) {
  struct Case { const char* name; QByteArray ini; QString mail, save, er4; bool dorvatik; };
  const QList<Case> cases = {
      {"no file", "", "", "", "", true},
      {"backslashes read as slashes, flag F",
       "[Config]\r\nFOLDER_SALJI_MEJLOM=C:\\Mejl\\Izlaz\r\nFOLDER_CUVANJE=/srv/cuvanje\r\n"
       "FOLDER_ER4APLIK=\\\\server\\er4\r\nDORVATIK_APP=F\r\n",
       "C:/Mejl/Izlaz", "/srv/cuvanje", "//server/er4", false},
      {"empty flag reads as T", "[Config]\r\nDORVATIK_APP=\r\n", "", "", "", true},
      {"lower-case t is not T", "[Config]\r\nDORVATIK_APP=t\r\n", "", "", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeIni(c.ini);
    G_CFOLDER_SALJI_MEJLOM(QStringLiteral("stale"));
    UCITAJ_PODESAPP();
    EXPECT_EQ(G_CFOLDER_SALJI_MEJLOM(), c.mail);
    EXPECT_EQ(G_CFOLDER_CUVANJE(), c.save);
    EXPECT_EQ(G_CFOLDER_ER4APLIK(), c.er4);
    EXPECT_EQ(G_LDORVATIK_APP(), c.dorvatik);
  }
}

TEST_F(Podesapp, FolderButtonFillsItsRowOnlyWhenAskedAndChosen) {
  struct Case { const char* name; int yesNo; QStringList chosen; int dialogs; QString row1; };
  const QList<Case> cases = {
      {"Yes and a folder", 1, {dir.filePath("mejl")}, 1, dir.filePath("mejl")},
      {"No: no dialog", 0, {dir.filePath("mejl")}, 0, QStringLiteral("/stari")},
      {"dialog cancelled", 1, {}, 1, QStringLiteral("/stari")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeIni("[Config]\r\nFOLDER_SALJI_MEJLOM=/stari\r\nFOLDER_CUVANJE=/cuvanje\r\n");
    UCITAJ_PODESAPP();
    ScriptedPresenter boxes;
    boxes.answers = {c.yesNo};
    ScriptedFileDialogs folders;
    folders.answers = {c.chosen};
    QString seen, other;
    whenActive([&](QWidget* d) {
      EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Podešavanja aplikacije"));
      QPushButton* pick = d->findChild<QPushButton*>(QStringLiteral("BUTTON_1"));
      ASSERT_NE(pick, nullptr);
      EXPECT_EQ(pick->text(), QStringLiteral("Izbor foldera"));
      pick->click();
      seen = edit(d, 1)->text();
      other = edit(d, 2)->text();
      EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("EDIT_3_3_1")), nullptr);
      button(d, QStringLiteral("Ok"))->click();
    });
    PODESAPP(QFont());
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Izbor foldera?")});
    ASSERT_EQ(folders.requests.size(), c.dialogs);
    if (c.dialogs) {
      EXPECT_EQ(folders.requests[0].mode, FileDialogRequest::Folder);
      EXPECT_EQ(folders.requests[0].folder, QStringLiteral("/stari"));
    }
    EXPECT_EQ(seen, c.row1);
    EXPECT_EQ(other, QStringLiteral("/cuvanje"));
    EXPECT_EQ(G_CFOLDER_SALJI_MEJLOM(), c.row1);
    EXPECT_TRUE(readIni().contains(("FOLDER_SALJI_MEJLOM=" + c.row1 + "\r\n").toUtf8())) << readIni().constData();
  }
}

TEST_F(Podesapp, OkWritesAHandEditAndReloadsEverythingFromTheFile) {
  writeIni("; kept\r\n[Config]\r\nFOLDER_SALJI_MEJLOM=/a\r\nFOLDER_CUVANJE=/b\r\n");
  UCITAJ_PODESAPP();
  ASSERT_TRUE(G_LDORVATIK_APP());
  // Changed by hand after start-up: Ok takes it in.
  writeIni("; kept\r\n[Config]\r\nFOLDER_SALJI_MEJLOM=/a\r\nFOLDER_CUVANJE=/b\r\nDORVATIK_APP=F\r\n"
           "FOLDER_ER2APLIK=/er2\r\n");
  whenActive([](QWidget* d) {
    edit(d, 2)->setText(QStringLiteral("/novi/cuvanje"));
    button(d, QStringLiteral("Ok"))->click();
  });
  PODESAPP(QFont());
  EXPECT_EQ(readIni(), QByteArray("; kept\r\n[Config]\r\nFOLDER_SALJI_MEJLOM=/a\r\nFOLDER_CUVANJE=/novi/cuvanje\r\n"
                                  "DORVATIK_APP=F\r\nFOLDER_ER2APLIK=/er2\r\n"));
  EXPECT_EQ(G_CFOLDER_CUVANJE(), QStringLiteral("/novi/cuvanje"));
  EXPECT_EQ(G_CFOLDER_ER2APLIK(), QStringLiteral("/er2"));
  EXPECT_FALSE(G_LDORVATIK_APP());
}

TEST_F(Podesapp, CancelWritesNothingAndKeepsTheAccessors) {
  const QByteArray before("[Config]\r\nFOLDER_SALJI_MEJLOM=/a\r\n");
  writeIni(before);
  UCITAJ_PODESAPP();
  whenActive([](QWidget* d) {
    edit(d, 1)->setText(QStringLiteral("/drugi"));
    button(d, QStringLiteral("Cancel"))->click();
  });
  PODESAPP(QFont());
  EXPECT_EQ(readIni(), before);
  EXPECT_EQ(G_CFOLDER_SALJI_MEJLOM(), QStringLiteral("/a"));
}

TEST_F(Podesapp, ExtendedFormOffersTheExchangeFoldersOnlyUnderTheFlag) {
  for (bool flag : {true, false}) {
    SCOPED_TRACE(flag);
    writeIni(flag ? "[Config]\r\n" : "[Config]\r\nDORVATIK_APP=F\r\n");
    UCITAJ_PODESAPP();
    QStringList labels;
    whenActive([&](QWidget* d) {
      if (QLineEdit* e = edit(d, 3)) e->setText(QStringLiteral("/er4"));
      if (QLineEdit* e = edit(d, 4)) e->setText(QStringLiteral("/er2"));
      labels << (edit(d, 3) ? "3" : "") << (edit(d, 4) ? "4" : "");
      button(d, QStringLiteral("Ok"))->click();
    });
    PODESAPP(QFont(), true);
    EXPECT_EQ(labels, flag ? QStringList({"3", "4"}) : QStringList({"", ""}));
    EXPECT_EQ(G_CFOLDER_ER4APLIK(), flag ? QStringLiteral("/er4") : QString());
    EXPECT_EQ(readIni().contains("FOLDER_ER2APLIK=/er2"), flag);
  }
}

}  // namespace
