#include "settings/konfig.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "common/apppath.h"
#include "common/lookglobals.h"
#include "common/presenter.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

using namespace korvan;

namespace {

const char* const kRestart = "Restartujte aplikaciju da bi izmene postale važeće!";

// A program folder of its own, a fixed user name, and the application's
// palette, style and look accessors put back afterwards.
class Look : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    previousDomain = qgetenv("USERDOMAIN");
    qputenv("USERDOMAIN", "TESTDOM");
    palette = QApplication::palette();
    styleName = QApplication::style()->name();
    detail::forgetRestorePalette();
    resetAccessors();
  }
  void TearDown() override {
    QApplication::setPalette(palette);
    QApplication::setStyle(styleName);
    detail::forgetRestorePalette();
    resetAccessors();
    qputenv("USERDOMAIN", previousDomain);
  }
  static void resetAccessors() {
    G_NVEL_FONT(12);
    G_NVEL_FONTMALI(8);
    G_CUPDFOLDER(QString());
    G_COBRAZ_PUT(QString());
    G_LMATRICNI(false);
    G_LPOLA(false);
    G_CAPLIK_NAZIV(QString());
  }
  void write(const QString& name, const QByteArray& text) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QByteArray read(const QString& name) const {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static QColor button() { return QApplication::palette().color(QPalette::Button); }

  test::TempProgramFolder dir;
  QByteArray previousDomain;
  QPalette palette;
  QString styleName;
  ScriptedPresenter boxes;
};

TEST_F(Look, TableAndNames) {
  ASSERT_EQ(APALETA().size(), 18);
  EXPECT_TRUE(APALETA()[0].name.isEmpty());
  EXPECT_FALSE(APALETA()[0].colour);
  EXPECT_EQ(APALETA()[1].name, "bela");
  EXPECT_EQ(*APALETA()[3].colour, Qt::red);
  EXPECT_EQ(APALETA()[13].name, QString::fromUtf8("žuta"));
  EXPECT_EQ(*APALETA()[17].colour, Qt::lightGray);
  EXPECT_TRUE(ASTYLE().contains("fusion"));
  for (const QString& s : ASTYLE()) EXPECT_EQ(s, s.toLower());
  EXPECT_EQ(FN_USERINI(), GETAPPPATH() + "TESTDOM.ini");
}

TEST_F(Look, AccessorsReturnTheOldValueAndStoreTheNew) {
  EXPECT_EQ(G_NVEL_FONT(14), 12);
  EXPECT_EQ(G_NVEL_FONT(), 14);
  EXPECT_EQ(G_NVEL_FONT(), 14);
  EXPECT_EQ(G_CUPDFOLDER("/u/"), "");
  EXPECT_EQ(G_CUPDFOLDER(QString()), "/u/");  // an empty text is stored too
  EXPECT_EQ(G_CUPDFOLDER(), "");
  EXPECT_FALSE(G_LPOLA(true));
  EXPECT_TRUE(G_LPOLA());
}

struct StartCase {
  const char* name;
  const char* userIni;     // nullptr: no per-user file
  const char* defaultIni;  // nullptr: no "_DEFAULT.ini"
  QColor button;           // invalid: the palette is left alone
  int font, smallFont;
  const char* updateFolder;
};

TEST_F(Look, StartUpReading) {
  const StartCase cases[] = {
      {"no files", nullptr, nullptr, QColor(), 12, 8, ""},
      {"_DEFAULT only", nullptr,
       "[Config]\r\nPalette=         4\r\nVEL_FONT=        14\r\nVEL_FONTMALI=9\r\nUPDFOLDER=/upd\r\n",
       QColor(Qt::red), 14, 9, "/upd"},
      {"both files: the per-user one alone is read", "[config]\r\ncustom_color=#123456\r\nVEL_FONT=10\r\n",
       "[Config]\r\nPalette=4\r\nVEL_FONT=20\r\nVEL_FONTMALI=9\r\n", QColor("#123456"), 10, 8, ""},
      {"a row wins over the free colour", "[Config]\nPalette=3\nCUSTOM_COLOR=#123456\n", nullptr,
       QColor(Qt::black), 12, 8, ""},
      {"row 1 with a free colour", "[Config]\nPalette=1\nCUSTOM_COLOR=#abcdef\n", nullptr,
       QColor("#abcdef"), 12, 8, ""},
      {"out of range", "[Config]\nPalette=19\nVEL_FONT=40\nVEL_FONTMALI=3\n", nullptr, QColor(), 12, 8, ""},
      {"negative and junk", "[Config]\nPalette=-2\nVEL_FONT=abc\nVEL_FONTMALI=\n", nullptr, QColor(), 12, 8, ""},
      {"bounds", "[Config]\nPalette=18\nVEL_FONT=25\nVEL_FONTMALI=5\n", nullptr, QColor(Qt::lightGray), 25, 5, ""},
      {"no colour", "[Config]\nPalette=0\nCUSTOM_COLOR=#12\n", nullptr, QColor(), 12, 8, ""},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(dir.filePath("TESTDOM.ini"));
    QFile::remove(dir.filePath("_DEFAULT.ini"));
    if (c.userIni) write("TESTDOM.ini", c.userIni);
    if (c.defaultIni) write("_DEFAULT.ini", c.defaultIni);
    QApplication::setPalette(palette);
    resetAccessors();
    G_NVEL_FONT(99);  // must be overwritten, default or not
    POSTAVI_KONFIG(qApp);
    EXPECT_EQ(button(), c.button.isValid() ? c.button : palette.color(QPalette::Button));
    EXPECT_EQ(G_NVEL_FONT(), c.font);
    EXPECT_EQ(G_NVEL_FONTMALI(), c.smallFont);
    EXPECT_EQ(G_CUPDFOLDER(), c.updateFolder);
  }
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Look, StartUpStyleOnlyWhenAskedAndKnown) {
  write("aplik.ini", "[Config]\r\nSTYLE=fusion\r\n");
  QApplication::setStyle("windows");
  POSTAVI_KONFIG(qApp);
  EXPECT_EQ(QApplication::style()->name(), "windows");
  POSTAVI_KONFIG(qApp, "Korvan", true);
  EXPECT_EQ(QApplication::style()->name(), "fusion");
  EXPECT_EQ(G_CAPLIK_NAZIV(), "Korvan");
  write("aplik.ini", "[Config]\r\nSTYLE=nepoznat\r\n");
  POSTAVI_KONFIG(qApp, QString(), true);
  EXPECT_EQ(QApplication::style()->name(), "fusion");
  EXPECT_EQ(G_CAPLIK_NAZIV(), "Korvan");  // an empty name changes nothing
}

// Runs act on the first modal widget that matches, once it is up.
void whenModal(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, match, act] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !match(w)) return;
    timer->stop();
    timer->deleteLater();
    act(w);
  });
  timer->start();
}

bool isLookDialog(QWidget* w) { return w->objectName() == "KONFIG"; }

// Opens the look dialog as the menu does and lets act work it.
void openFromMenu(std::function<void(QWidget*)> act) {
  QMainWindow main;
  whenModal(isLookDialog, std::move(act));
  QFont font("DejaVu Sans");
  font.setPointSize(G_NVEL_FONT());
  KONFIG(qApp, font, &main, false, false, false, true);
}

template <typename T>
T* child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(name);
  EXPECT_NE(c, nullptr) << name;
  return c;
}

TEST_F(Look, DialogFromTheMenuAppliesStoresAndAsksForARestart) {
  write("_DEFAULT.ini", "[Config]\r\nPalette=2\r\nVEL_FONT=13\r\n");
  write("aplik.ini", "[Config]\r\nSTYLE=windows\r\n");
  bool checked = false;
  openFromMenu([&](QWidget* dlg) {
    EXPECT_EQ(dlg->windowTitle(), "Konfigurisanje");
    EXPECT_EQ(child<QComboBox>(dlg, "paleta")->currentIndex(), 1);  // shows _DEFAULT.ini
    EXPECT_EQ(child<QSpinBox>(dlg, "velFont")->value(), 13);
    EXPECT_EQ(child<QComboBox>(dlg, "stil")->currentText(), "windows");
    EXPECT_EQ(dlg->findChild<QLineEdit*>("obrazPut"), nullptr);  // rows the menu leaves out
    EXPECT_EQ(dlg->findChild<QWidget*>("matricni"), nullptr);
    EXPECT_EQ(child<QSpinBox>(dlg, "velFontMali")->maximum(), 25);
    EXPECT_TRUE(child<QPushButton>(dlg, "ok")->isDefault());
    child<QComboBox>(dlg, "paleta")->setCurrentIndex(7);  // plava
    child<QSpinBox>(dlg, "velFont")->setValue(14);
    QComboBox* style = child<QComboBox>(dlg, "stil");
    style->setCurrentIndex(style->findData("fusion"));
    checked = true;
    child<QPushButton>(dlg, "ok")->click();
  });
  ASSERT_TRUE(checked);
  EXPECT_EQ(button(), QColor(Qt::blue));
  EXPECT_EQ(QApplication::style()->name(), "fusion");
  EXPECT_EQ(G_NVEL_FONT(), 14);
  EXPECT_EQ(G_NVEL_FONTMALI(), 8);
  const QByteArray user = read("TESTDOM.ini");
  EXPECT_TRUE(user.contains("Palette=         8\r\n")) << user.constData();
  EXPECT_TRUE(user.contains("VEL_FONT=        14\r\n"));
  EXPECT_TRUE(user.contains("VEL_FONTMALI=         8\r\n"));
  EXPECT_TRUE(user.contains("CUSTOM_COLOR="));
  EXPECT_FALSE(user.contains("UPDFOLDER"));
  EXPECT_TRUE(read("aplik.ini").contains("STYLE=fusion"));
  EXPECT_EQ(read("_DEFAULT.ini"), "[Config]\r\nPalette=2\r\nVEL_FONT=13\r\n");
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::Info);
  EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(kRestart));
  // From now on the per-user file is read, not "_DEFAULT.ini".
  resetAccessors();
  POSTAVI_KONFIG(qApp);
  EXPECT_EQ(G_NVEL_FONT(), 14);
}

TEST_F(Look, StyleAloneAsksForNoRestartAndCancelStoresNothing) {
  openFromMenu([](QWidget* dlg) { child<QPushButton>(dlg, "cancel")->click(); });
  EXPECT_FALSE(QFile::exists(dir.filePath("TESTDOM.ini")));
  EXPECT_EQ(button(), palette.color(QPalette::Button));

  // Nothing stored, or a name not offered as such: the dialog starts on the
  // style in use, so Ok without a change keeps the look.
  ASSERT_GE(ASTYLE().size(), 2);
  QApplication::setStyle(ASTYLE().last());
  for (const QByteArray& stored : {QByteArray(), QByteArray("STYLE=FUSION\r\n")}) {
    write("aplik.ini", "[Config]\r\n" + stored);
    openFromMenu([](QWidget* dlg) {
      EXPECT_EQ(child<QComboBox>(dlg, "stil")->currentText(), ASTYLE().last());
      child<QPushButton>(dlg, "ok")->click();
    });
    EXPECT_EQ(QApplication::style()->name(), ASTYLE().last());
  }
  openFromMenu([](QWidget* dlg) {
    child<QComboBox>(dlg, "stil")->setCurrentIndex(0);
    child<QPushButton>(dlg, "ok")->click();
  });
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_EQ(QApplication::style()->name(), ASTYLE().first());
  EXPECT_TRUE(read("aplik.ini").contains("STYLE=" + ASTYLE().first().toUtf8() + "\r\n"));
}

TEST_F(Look, FreeColourChosenThenEmptied) {
  openFromMenu([](QWidget* dlg) {
    child<QComboBox>(dlg, "paleta")->setCurrentIndex(4);
    whenModal([](QWidget* w) { return qobject_cast<QColorDialog*>(w) != nullptr; },
              [](QWidget* w) {
                EXPECT_EQ(w->windowTitle(), "Izaberite boju");
                auto* cd = static_cast<QColorDialog*>(w);
                cd->setCurrentColor(QColor("#336699"));
                cd->accept();
              });
    child<QPushButton>(dlg, "izborBoje")->click();
    EXPECT_EQ(child<QComboBox>(dlg, "paleta")->currentIndex(), 0);
    EXPECT_EQ(child<QLabel>(dlg, "boja")->text(), "#336699");
    child<QPushButton>(dlg, "ok")->click();
  });
  EXPECT_EQ(button(), QColor("#336699"));
  EXPECT_TRUE(read("TESTDOM.ini").contains("CUSTOM_COLOR=#336699\r\n"));
  EXPECT_TRUE(read("TESTDOM.ini").contains("Palette=         1\r\n"));
  ASSERT_EQ(boxes.shown.size(), 1);  // a new colour wants a restart

  // Cancelling the colour dialog empties the free colour; row 1 then brings
  // back the palette captured at the first confirmation, with no restart.
  const QColor captured = restorePalette()->color(QPalette::Button);
  EXPECT_EQ(captured, palette.color(QPalette::Button));
  openFromMenu([](QWidget* dlg) {
    EXPECT_EQ(child<QLabel>(dlg, "boja")->text(), "#336699");
    whenModal([](QWidget* w) { return qobject_cast<QColorDialog*>(w) != nullptr; },
              [](QWidget* w) { static_cast<QColorDialog*>(w)->reject(); });
    child<QPushButton>(dlg, "izborBoje")->click();
    EXPECT_TRUE(child<QLabel>(dlg, "boja")->text().isEmpty());
    child<QPushButton>(dlg, "ok")->click();
  });
  EXPECT_EQ(button(), captured);
  EXPECT_EQ(boxes.shown.size(), 1);
  EXPECT_TRUE(read("TESTDOM.ini").contains("CUSTOM_COLOR=\r\n"));
  QApplication::setPalette(QPalette(Qt::green));
  POSTAVI_KONFIG(qApp);  // no palette from the next start on
  EXPECT_EQ(button(), QColor(Qt::green));
}

TEST_F(Look, RowOneAfterAStartUpColourKeepsItAndAsksForARestart) {
  write("TESTDOM.ini", "[Config]\r\nPalette=4\r\n");
  POSTAVI_KONFIG(qApp);
  ASSERT_EQ(button(), QColor(Qt::red));
  openFromMenu([](QWidget* dlg) {
    EXPECT_EQ(child<QComboBox>(dlg, "paleta")->currentIndex(), 3);
    child<QComboBox>(dlg, "paleta")->setCurrentIndex(0);
    child<QPushButton>(dlg, "ok")->click();
  });
  EXPECT_EQ(button(), QColor(Qt::red));
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(kRestart));
}

TEST_F(Look, OptionalRowsAreReadShownAndStored) {
  write("TESTDOM.ini",
        "[Config]\r\nOBRAZ_PUT=/obr\r\nUPDFOLDER=/upd\r\nMATRICNI=T\r\nPOLA=t\r\nVEL_FONT=30\r\n");
  QMainWindow main;
  whenModal(isLookDialog, [](QWidget* dlg) {
    EXPECT_EQ(child<QLineEdit>(dlg, "obrazPut")->text(), "/obr");
    EXPECT_EQ(child<QLineEdit>(dlg, "updFolder")->text(), "/upd");
    EXPECT_TRUE(child<QAbstractButton>(dlg, "matricni")->isChecked());
    EXPECT_FALSE(child<QAbstractButton>(dlg, "pola")->isChecked());  // only "T" is true
    EXPECT_EQ(child<QSpinBox>(dlg, "velFont")->value(), 12);          // out of range: default
    EXPECT_EQ(dlg->findChild<QComboBox*>("stil"), nullptr);
    child<QLineEdit>(dlg, "updFolder")->setText("/novi");
    child<QAbstractButton>(dlg, "pola")->setChecked(true);
    child<QPushButton>(dlg, "ok")->click();
  });
  KONFIG(qApp, QFont(), &main);
  EXPECT_EQ(G_CUPDFOLDER(), "/novi");
  EXPECT_EQ(G_COBRAZ_PUT(), "/obr");
  EXPECT_TRUE(G_LPOLA());
  const QByteArray user = read("TESTDOM.ini");
  EXPECT_TRUE(user.contains("UPDFOLDER=/novi\r\n"));
  EXPECT_TRUE(user.contains("POLA=T\r\n"));
  EXPECT_TRUE(user.contains("MATRICNI=T\r\n"));
  EXPECT_TRUE(user.contains("VEL_FONT=        12\r\n"));
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_FALSE(QFile::exists(dir.filePath("aplik.ini")));
}

}  // namespace
