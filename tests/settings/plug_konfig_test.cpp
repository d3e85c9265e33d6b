#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/lookglobals.h"
#include "common/presenter.h"
#include "common/shellhooks.h"
#include "settings/konfig.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

namespace korvan {
void plug_konfig();
}

using namespace korvan;

namespace {

TEST(PlugKonfig, StartUpReadsTheLookAndTheMenuOpensTheDialog) {
  test::TempProgramFolder dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray previousDomain = qgetenv("USERDOMAIN");
  qputenv("USERDOMAIN", "PLUGDOM");
  const QPalette palette = QApplication::palette();
  {
    QFile f(dir.filePath("_DEFAULT.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Config]\r\nPalette=6\r\nVEL_FONT=16\r\n");
  }
  ScriptedPresenter boxes;
  clearShellPlugs();
  plug_konfig();
  ASSERT_TRUE(shellHooks().postaviKonfig);
  shellHooks().postaviKonfig(*qApp);
  EXPECT_EQ(QApplication::palette().color(QPalette::Button), QColor(Qt::green));
  EXPECT_EQ(G_NVEL_FONT(), 16);

  const MenuOpener opener = menuOpener("KONFIG");
  ASSERT_TRUE(opener);
  QMainWindow main;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    QWidget* dlg = QApplication::activeModalWidget();
    ASSERT_NE(dlg, nullptr);
    seen = true;
    EXPECT_EQ(dlg->windowTitle(), "Konfigurisanje");
    EXPECT_NE(dlg->findChild<QComboBox*>("stil"), nullptr);
    EXPECT_EQ(dlg->findChild<QWidget*>("updFolder"), nullptr);
    dlg->findChild<QSpinBox*>("velFontMali")->setValue(9);
    dlg->findChild<QPushButton*>("ok")->click();
  });
  QFont font;
  font.setPointSize(G_NVEL_FONT());
  EXPECT_EQ(opener(MenuContext{&main, nullptr, font, QString(), {false, false, false, true}}), nullptr);
  EXPECT_TRUE(seen);
  EXPECT_EQ(G_NVEL_FONTMALI(), 9);
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("Restartujte aplikaciju da bi izmene postale važeće!"));
  EXPECT_TRUE(QFile::exists(dir.filePath("PLUGDOM.ini")));

  clearShellPlugs();
  G_NVEL_FONT(12);
  G_NVEL_FONTMALI(8);
  detail::forgetRestorePalette();
  QApplication::setPalette(palette);
  qputenv("USERDOMAIN", previousDomain);
}

}  // namespace
