// The company data dialog driven offscreen: what Ok and Cancel leave in
// aplik.ini, the test-mode key, and the register fill of its editors against
// a local page server.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/shellhooks.h"
#include "settings/podafirm.h"
#include "settings/preuznbs.h"
#include "support/cursorwatch.h"
#include "support/peer.h"
#include "support/programfolder.h"
#include "support/scriptedpresenter.h"
#include "ui/kolona.h"
#include "ui/modal.h"

namespace korvan {
void plug_podafirm();
}

using namespace korvan;
using korvan::test::button;

namespace {

QLineEdit* edit(QWidget* d, int row) { return d->findChild<QLineEdit*>(QStringLiteral("EDIT_%1_%1_1").arg(row)); }

// Runs step on the modal dialog with this title once it is the active modal
// one (the company dialog stays open under the PIB dialog).
void whenTitled(const QString& title, std::function<void(QWidget*)> step) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, tries, title, step] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w->windowTitle() != title) {
      if (++*tries > 500) {
        poll->stop();
        poll->deleteLater();
        ADD_FAILURE() << "no dialog " << title.toStdString();
      }
      return;
    }
    poll->stop();
    poll->deleteLater();
    step(w);
  });
  poll->start();
}

const QByteArray kFull =
    "; firma\r\n[Firma]\r\nNAZIV=Stara firma\r\nMESTO=Niš\r\nPOST_BROJ=18000\r\nADRESA=Stara 1\r\nPIB=100000001\r\n"
    "MATBROJ=1\r\nVLASNIK=Pera\r\nEMAIL=a@b.rs\r\nZIRO=1-1-1\r\nOBVPDV=T\r\nAPI_KLJUC=prod\r\nAPI_KLJUC_DEMO=demo\r\n";

// Two accounts: the newer one opened in 2021.
const QByteArray kPage =
    "<a href=\"#5\" class=\"formaa\">\r\nNOVA &#262;ELIJA DOO\r\n>Adresa:\r\n\r\nNova 2\r\n>Mesto:\r\n\r\nBeograd\r\n"
    ">Ra&#269;un:\r\n\r\n\r\n160-1-11\r\n>Datum otvaranja:\r\n\r\n\r\nMon Jan 05 00:00:00 CET 2015\r\n"
    ">Ra&#269;un:\r\n\r\n\r\n265-2-22\r\n>Datum otvaranja:\r\n\r\n\r\nTue Avg 10 00:00:00 CET 2021\r\n";

class Podafirm : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.isValid()); }
  QString ini() const { return app.filePath("aplik.ini"); }
  void writeIni(const QByteArray& text) { ASSERT_TRUE(app.write("aplik.ini", text)); }
  QByteArray readIni() const { return app.read("aplik.ini"); }
  void testMode() { ASSERT_TRUE(app.write("TEST.!!!", {})); }
  test::TempProgramFolder app;
  ScriptedPresenter boxes;
};

TEST_F(Podafirm, CancelLeavesTheFileByteForByte) {
  const QByteArray odd = "[firma]\nnaziv = \"Citirano\" \n;x\r\nOBVPDV=t\n";
  writeIni(odd);
  QStringList shown;
  test::whenActive([&](QWidget* d) {
    shown << d->windowTitle() << edit(d, 1)->text();
    shown << (d->findChild<QCheckBox*>("EDIT_10_10_1")->isChecked() ? "T" : "F");
    EXPECT_FALSE(d->windowIcon().isNull());
    EXPECT_EQ(edit(d, 1)->minimumWidth(), int(40 * NPOINTSIZE(d)));
    EXPECT_LE(d->width(), 1366);
    EXPECT_LE(d->height(), 768);
    edit(d, 1)->setText("Promenjeno");
    button(d, "Cancel")->click();
  });
  PODAFIRM(QFont());
  EXPECT_EQ(shown, QStringList({"Podaci firme", "Citirano", "F"}));
  EXPECT_EQ(readIni(), odd);
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Podafirm, OkWritesTheElevenKeysInOrderAsEntered) {
  test::whenActive([](QWidget* d) {
    const QStringList values = {"Firma doo", "Beograd", "11000", "Ulica 1", " 101234567 ", "07654321",
                                "Pera Perić", "firma@x.rs", "160-1-11"};
    for (int r = 1; r <= 9; ++r) edit(d, r)->setText(values[r - 1]);
    d->findChild<QCheckBox*>("EDIT_10_10_1")->setChecked(true);
    edit(d, 11)->setText(QString());
    EXPECT_EQ(d->findChild<QPushButton*>("BUTTON_1")->text(), "Preuzmi od NBS");
    button(d, "Ok")->click();
  });
  PODAFIRM(QFont());
  EXPECT_EQ(readIni(), QByteArray("[Firma]\r\nNAZIV=Firma doo\r\nMESTO=Beograd\r\nPOST_BROJ=11000\r\nADRESA=Ulica 1\r\n"
                                  "PIB= 101234567 \r\nMATBROJ=07654321\r\nVLASNIK=Pera Perić\r\nEMAIL=firma@x.rs\r\n"
                                  "ZIRO=160-1-11\r\nOBVPDV=T\r\nAPI_KLJUC=\r\n"));
}

TEST_F(Podafirm, TestModeShowsAndStoresTheDemoKeyOnly) {
  writeIni(kFull);
  testMode();
  QString shownKey;
  test::whenActive([&](QWidget* d) {
    shownKey = edit(d, 11)->text();
    d->findChild<QCheckBox*>("EDIT_10_10_1")->setChecked(false);
    edit(d, 11)->setText("novi demo");
    button(d, "Ok")->click();
  });
  PODAFIRM(QFont());
  EXPECT_EQ(shownKey, "demo");
  QByteArray expected = kFull;
  expected.replace("API_KLJUC_DEMO=demo", "API_KLJUC_DEMO=novi demo").replace("OBVPDV=T", "OBVPDV=F");
  EXPECT_EQ(readIni(), expected);
  // Back in normal mode the normal key shows.
  QFile::remove(app.filePath("TEST.!!!"));
  test::whenActive([&](QWidget* d) {
    shownKey = edit(d, 11)->text();
    button(d, "Cancel")->click();
  });
  PODAFIRM(QFont());
  EXPECT_EQ(shownKey, "prod");
}

TEST_F(Podafirm, AReadOnlyFileIsReportedOnceAndNothingIsWritten) {
  writeIni(kFull);
  ASSERT_EQ(::chmod(QFile::encodeName(ini()).constData(), 0444), 0);
  test::whenActive([](QWidget* d) {
    edit(d, 1)->setText("Nova");
    button(d, "Ok")->click();
  });
  PODAFIRM(QFont());
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_TRUE(boxes.shown[0].text.startsWith(QString::fromUtf8("GREŠKA 13 KOD PISANJA FAJLA "))) << boxes.shown[0].text.toStdString();
  EXPECT_EQ(readIni(), kFull);
}

TEST_F(Podafirm, TheMenuOpensTheDialog) {
  clearShellPlugs();
  plug_podafirm();
  const MenuOpener opener = menuOpener("PODAFIRM");
  ASSERT_TRUE(opener);
  QString title;
  test::whenActive([&](QWidget* d) {
    title = d->windowTitle();
    button(d, "Cancel")->click();
  });
  EXPECT_EQ(opener(MenuContext{}), nullptr);
  EXPECT_EQ(title, "Podaci firme");
  clearShellPlugs();
}

class PodafirmLookup : public Podafirm {
 protected:
  void SetUp() override {
    Podafirm::SetUp();
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    NBS_SET_LIMITS({.connectSeconds = 2, .totalSeconds = 3, .stallSeconds = 3});
    writeIni(kFull);
  }
  void TearDown() override { NBS_SET_LIMITS({.connectSeconds = 4, .totalSeconds = 30, .stallSeconds = 30}); }
  // Opens the dialog, asks the register for pib (the PIB dialog shows start),
  // then reads the eleven editors and cancels.
  QStringList lookUp(const QString& pib, QString* start = nullptr, bool cancelPib = false) {
    QStringList after;
    test::whenActive([&](QWidget* d) {
      whenTitled("Podaci od NBS", [&](QWidget* ask) {
        QLineEdit* e = ask->findChild<QLineEdit*>("EDIT_1_1_1");
        if (start) *start = e->text();
        e->setText(pib);
        button(ask, cancelPib ? "Cancel" : "Ok")->click();
      });
      d->findChild<QPushButton*>("BUTTON_1")->click();
      EXPECT_EQ(readIni(), kFull) << "nothing written before Ok";
      for (int r = 1; r <= 11; ++r)
        after << (r == 10 ? (d->findChild<QCheckBox*>("EDIT_10_10_1")->isChecked() ? "T" : "F") : edit(d, r)->text());
      button(d, "Cancel")->click();
    });
    PODAFIRM(QFont());
    return after;
  }
  const QStringList before = {"Stara firma", "Niš", "18000", "Stara 1", "100000001", "1", "Pera", "a@b.rs",
                              "1-1-1", "T", "prod"};
  test::Peer peer{test::registerPeerHosts()};
};

TEST_F(PodafirmLookup, AFoundCompanyFillsSixEditorsWithTheNewestAccount) {
  test::PeerAnswer slow = test::PeerAnswer::html(kPage);
  slow.delayMs = 800;
  peer.scriptPath("GET", test::kRegisterPath, {slow});
  // While curl runs, timers fire under the wait cursor.
  const test::CursorAtFirstRequest cursor(peer);
  QString start;
  const QStringList after = lookUp("101234567", &start);
  EXPECT_EQ(cursor.shape(), int(Qt::WaitCursor));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(start, "100000001");
  EXPECT_EQ(after, QStringList({QString::fromUtf8("NOVA ĆELIJA DOO"), "Beograd", "18000", "Nova 2", "101234567", "",
                                "Pera", "a@b.rs", "265-2-22", "T", "prod"}));
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  ASSERT_EQ(peer.requests().size(), 1);
  EXPECT_EQ(peer.requests()[0].queryValue("pib"), "101234567");
  EXPECT_EQ(readIni(), kFull);
}

TEST_F(PodafirmLookup, FailuresAndEmptyAnswersLeaveTheEditors) {
  struct Case {
    const char* name;
    QString pib;
    test::PeerAnswer answer;
    bool cancel;
    QStringList boxes;
  };
  const QList<Case> cases = {
      {"not in the register", "101234567", test::PeerAnswer::html("<html>nema</html>"), false,
       {NBS_ERR_NEMA()}},
      {"server error", "101234567", test::PeerAnswer::html("x", 500), false, {NBS_ERR_CURL()}},
      {"not digits", "10123x", test::PeerAnswer::html(kPage), false, {NBS_ERR_CIFRE()}},
      {"empty PIB", "", test::PeerAnswer::html(kPage), false, {}},
      {"PIB dialog cancelled", "101234567", test::PeerAnswer::html(kPage), true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    peer.scriptPath("GET", test::kRegisterPath, {c.answer});
    EXPECT_EQ(lookUp(c.pib, nullptr, c.cancel), before);
    EXPECT_EQ(boxes.texts(), c.boxes);
  }
}

}  // namespace
