#include "app/mainwindow.h"
#include "app/startup.h"
#include "common/apppath.h"
#include "common/dates.h"
#include "common/letters.h"
#include "common/lookglobals.h"
#include "common/presenter.h"
#include "common/shellhooks.h"
#include "support/scriptedpresenter.h"
#include "support/programfolder.h"

#include <QAction>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace korvan;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

const QStringList kIds = {"XLS", "ODS", "CLIP", "SLOBUN", "SLOBUN_YT", "KORVANMAN",
                          "PODAFIRM", "PODESAPP", "UPDFTP", "KONFIG"};

struct Call {
  QString id;
  QString title;
  QVariantList args;
  bool hasMainAndArea = false;
  int fontSize = 0;
};

// A program folder of its own, and an opener for every entry that records
// its call; work-window entries open a sub-window in the area.
class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    styleBefore_ = QApplication::style()->name();
    clearShellPlugs();
    for (const QString& id : kIds) {
      setMenuOpener(id, [this, id](const MenuContext& ctx) -> QWidget* {
        calls << Call{id, ctx.title, ctx.args, ctx.main && ctx.area, ctx.font.pointSize()};
        if (ctx.title.isEmpty()) return nullptr;  // a dialog
        auto* w = new QWidget;
        w->setWindowTitle(ctx.title);
        QMdiSubWindow* sub = ctx.area->addSubWindow(w);
        sub->show();
        return sub;
      });
    }
  }
  void TearDown() override {
    ZATVORI_GLAVNI_PROZOR();
    clearShellPlugs();
    QApplication::setStyle(styleBefore_);
  }
  void ini(const QByteArray& content) {
    QFile f(dir.filePath("aplik.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
  }
  static QStringList texts(const QList<QAction*>& actions) {
    QStringList t;
    for (QAction* a : actions) t << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return t;
  }

  test::TempProgramFolder dir;
  ScriptedPresenter boxes;
  QList<Call> calls;

 private:
  QString styleBefore_;
};

const QStringList kAlways = {"Import iz &XLS", "Import iz &ODS", "Import iz ClipBoard-a",
                             "Upravljanje eFakturama", "Podaci &firme", u("Po&dešavanja aplikacije"),
                             "Verzija i &UPDATE", "Ko&nfigurisanje izgleda"};

QStringList withFreeEntry(bool slobun, bool yt) {
  QStringList t = kAlways.mid(0, 3);
  if (slobun) t << "Slobodan unos";
  if (yt) t << "Slobodan unos iz XLS";
  return t + kAlways.mid(3);
}

}  // namespace

TEST_F(Startup, AplikIniDecidesActionsAndTheReopenedWindow) {
  const struct {
    const char* what;
    QByteArray ini;  // empty: no aplik.ini
    QStringList actions;
    QString opened;  // "" when no window is reopened
    QVariantList args;
  } cases[] = {
      {"no aplik.ini", "", withFreeEntry(false, false), "XLS", {false}},
      {"empty section", "[Config]\r\n", withFreeEntry(false, false), "XLS", {false}},
      {"free entry", "[Config]\r\nIMA_SLOBUN=T\r\n", withFreeEntry(true, false), "XLS", {false}},
      {"free entry from XLS", "[Config]\r\nIMA_SLOBUN_YT=T\r\n", withFreeEntry(false, true), "XLS", {false}},
      {"both", "[Config]\r\nIMA_SLOBUN=T\r\nIMA_SLOBUN_YT=T\r\n", withFreeEntry(true, true), "XLS", {false}},
      {"only T counts", "[Config]\r\nIMA_SLOBUN=t\r\nIMA_SLOBUN_YT=True\r\n", withFreeEntry(false, false),
       "XLS", {false}},
      {"ODS", "[Config]\r\nPOSLEDNJI_KOJI=ODS\r\n", withFreeEntry(false, false), "ODS", {true}},
      {"CLIP", "[Config]\r\nPOSLEDNJI_KOJI=CLIP\r\n", withFreeEntry(false, false), "CLIP", {}},
      {"SLOBUN without its entry", "[Config]\r\nPOSLEDNJI_KOJI=SLOBUN\r\nIMA_SLOBUN=F\r\n",
       withFreeEntry(false, false), "SLOBUN", {false}},
      {"SLOBUN_YT", "[Config]\r\nPOSLEDNJI_KOJI=SLOBUN_YT\r\n", withFreeEntry(false, false), "SLOBUN_YT",
       {true}},
      {"KORVANMAN", "[Config]\r\nPOSLEDNJI_KOJI=KORVANMAN\r\n[Firma]\r\nAPI_KLJUC=k-1\r\nPIB=101\r\n",
       withFreeEntry(false, false), "KORVANMAN",
       {"k-1", u("Nije unet 'API ključ' u opciji 'Podaci firme'!"), "101"}},
      {"letter case counts", "[Config]\r\nPOSLEDNJI_KOJI=xls\r\n", withFreeEntry(false, false), "", {}},
      {"a dialog is no window kind", "[Config]\r\nPOSLEDNJI_KOJI=PODAFIRM\r\n", withFreeEntry(false, false),
       "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(dir.filePath("aplik.ini"));
    if (!c.ini.isEmpty()) ini(c.ini);
    calls.clear();
    GlavniProzor* w = START();
    ASSERT_TRUE(w);

    EXPECT_EQ(w->windowTitle(), "Korvan   (ver 2022.12.14)");
    EXPECT_TRUE(w->isMaximized());
    EXPECT_EQ(w->centralWidget(), w->area());
    EXPECT_EQ(w->area()->viewMode(), QMdiArea::TabbedView);
    EXPECT_EQ(w->font().pointSize(), 12);
    EXPECT_EQ(w->menu()->title(), "&Izbor");

    QStringList menu = c.actions;
    menu.insert(menu.indexOf(u("Po&dešavanja aplikacije")) + 1, "|");
    EXPECT_EQ(texts(w->menu()->actions()), menu);
    EXPECT_EQ(texts(w->toolBar()->actions()), c.actions) << "same entries, no separator";
    for (QAction* a : w->toolBar()->actions()) {
      EXPECT_EQ(a->parent(), w->menu()) << "one action on menu and tool bar";
      EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
    }
    EXPECT_EQ(w->action("PODESAPP")->objectName(), "PODES");
    EXPECT_EQ(w->toolBar()->iconSize(), QSize(24, 24));
    EXPECT_EQ(w->toolBar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(w->toolBar()->font().pointSize(), 8);
    EXPECT_EQ(w->toolBarArea(w->toolBar()), Qt::TopToolBarArea);

    if (c.opened.isEmpty()) {
      EXPECT_TRUE(calls.isEmpty());
      EXPECT_TRUE(w->area()->subWindowList().isEmpty());
    } else {
      ASSERT_EQ(calls.size(), 1);
      EXPECT_EQ(calls[0].id, c.opened);
      EXPECT_EQ(calls[0].args, c.args);
      EXPECT_TRUE(calls[0].hasMainAndArea);
      EXPECT_EQ(calls[0].fontSize, 12);
      EXPECT_EQ(w->area()->subWindowList().size(), 1);
      EXPECT_EQ(w->lastWindow(c.opened), w->area()->subWindowList().value(0));
    }
  }
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Startup, EachActionRunsItsOpenerWithItsArguments) {
  ini("[Config]\r\nPOSLEDNJI_KOJI=nista\r\nIMA_SLOBUN=T\r\nIMA_SLOBUN_YT=T\r\n");
  GlavniProzor* w = START();
  ASSERT_TRUE(w);
  // The company data are read when the action runs, not at start.
  ini("[Config]\r\n[Firma]\r\nAPI_KLJUC=pravi\r\nAPI_KLJUC_DEMO=demo\r\nPIB=100200300\r\n");
  const QString noKey = u("Nije unet 'API ključ' u opciji 'Podaci firme'!");
  const struct {
    const char* id;
    QString title;
    QVariantList args;
  } cases[] = {
      {"XLS", "Import iz XLS", {false}},
      {"ODS", "Import iz ODS", {true}},
      {"CLIP", "Import iz ClipBoard-a", {}},
      {"SLOBUN", "Slobodan unos", {false}},
      {"SLOBUN_YT", "Slobodan unos iz XLS", {true}},
      {"KORVANMAN", "Upravljanje eFakturama", {"pravi", noKey, "100200300"}},
      {"PODAFIRM", "", {}},
      {"PODESAPP", "", {}},
      {"UPDFTP", "", {"2022.12.14", true}},
      {"KONFIG", "", {false, false, false, true}},
  };
  for (const auto& c : cases) {
    calls.clear();
    w->action(c.id)->trigger();
    ASSERT_EQ(calls.size(), 1) << c.id;
    EXPECT_EQ(calls[0].id, c.id);
    EXPECT_EQ(calls[0].title, c.title) << c.id;
    EXPECT_EQ(calls[0].args, c.args) << c.id;
  }
  QFile marker(dir.filePath("TEST.!!!"));
  ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
  marker.close();
  calls.clear();
  w->action("KORVANMAN")->trigger();
  ASSERT_EQ(calls.size(), 1);
  EXPECT_EQ(calls[0].args, (QVariantList{"demo", noKey, "100200300"})) << "test mode takes the demo key";
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Startup, AWindowKindOpensAsOftenAsAsked) {
  GlavniProzor* w = START();
  ASSERT_TRUE(w);
  w->action("XLS")->trigger();
  w->action("XLS")->trigger();
  const QList<QMdiSubWindow*> subs = w->area()->subWindowList();
  ASSERT_EQ(subs.size(), 3) << "the reopened one and two more";
  EXPECT_EQ(w->lastWindow("XLS"), subs.back());
}

TEST_F(Startup, EntriesNotBuiltYetSaySoButNotAtStart) {
  clearShellPlugs();
  GlavniProzor* w = START();
  ASSERT_TRUE(w);
  EXPECT_TRUE(boxes.shown.isEmpty()) << "reopening a window that is not built yet is silent";
  w->action("PODAFIRM")->trigger();
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::Info);
  EXPECT_EQ(boxes.shown[0].title, u("Obaveštenje"));
  EXPECT_EQ(boxes.shown[0].text, u("Ova opcija još nije napravljena."));
}

TEST_F(Startup, StepsRunInOrderAndSetTheConventions) {
  ini("[Config]\r\nSTYLE=windows\r\n");
  QStringList steps;
  SET_TODAY_CLOCK([] { return QDate(2022, 12, 14); });
  G_ISUTF8(false);
  shellHooks().postaviKonfig = [&](QApplication&) {
    steps << "konfig";
    EXPECT_TRUE(G_ISUTF8()) << "conventions come first";
    G_CUPDFOLDER("/elsewhere");
    G_NVEL_FONT(14);
  };
  shellHooks().ucitajPodesapp = [&] {
    steps << "podesapp:" + QApplication::style()->name();
  };
  shellHooks().podesiPaletuDisabled = [&](QApplication&) { steps << "paleta"; };
  shellHooks().proveriNovuVerziju = [&](const QString& folder) {
    steps << "verzija:" + folder;
    EXPECT_TRUE(QFileInfo(dir.filePath("TMP")).isDir());
    EXPECT_TRUE(QFileInfo(dir.filePath("UPDFTP")).isDir());
    return false;
  };
  GlavniProzor* w = START();
  const int fontSize = w ? w->font().pointSize() : 0;
  G_NVEL_FONT(12);
  SET_TODAY_CLOCK({});
  ASSERT_TRUE(w);
  EXPECT_EQ(steps, (QStringList{"konfig", "podesapp:windows", "paleta", "verzija:" + dir.path() + "/UPDFTP"}));
  EXPECT_EQ(G_CUPDFOLDER(), dir.path() + "/UPDFTP") << "start-up replaces the look file's folder";
  EXPECT_EQ(fontSize, 14) << "the look settings size the main window's font";
  EXPECT_EQ(EPOCH(), 1932);
  EXPECT_EQ(CTOD("01.01.31"), QDate(2031, 1, 1));
  EXPECT_EQ(CTOD("01.01.32"), QDate(1932, 1, 1));
  EXPECT_EQ(QLocale().language(), QLocale::Serbian);
  EXPECT_EQ(QLocale().script(), QLocale::LatinScript);
  SET_EPOCH(0);
}

TEST_F(Startup, AnUnknownStyleLeavesTheStyleAlone) {
  const QString before = QApplication::style()->name();
  ini("[Config]\r\nSTYLE=nepostojeci\r\n");
  ASSERT_TRUE(START());
  EXPECT_EQ(QApplication::style()->name(), before);
}

TEST_F(Startup, HandOverShowsNoWindow) {
  shellHooks().proveriNovuVerziju = [](const QString&) { return true; };
  EXPECT_EQ(START(), nullptr);
  EXPECT_EQ(GLAVNI_PROZOR(), nullptr);
  EXPECT_TRUE(calls.isEmpty());
}

// Runs in a child process: the whole program with an updater that takes over.
TEST(StartupChild, DISABLED_HandOver) {
  const QString folder = qEnvironmentVariable("KORVAN_CHILD_DIR");
  if (folder.isEmpty()) GTEST_SKIP();
  const QByteArray exe = (folder + "/korvan").toLocal8Bit();
  char* argv[] = {const_cast<char*>(exe.constData()), nullptr};
  int argc = 1;
  const int code = RUN(argc, argv);
  QFile out(folder + "/result");
  out.open(QIODevice::WriteOnly);
  out.write(QByteArray::number(code) + (GLAVNI_PROZOR() ? " window" : " none") +
            (QFile::exists(":/res/korvan.png") ? " icons" : " released"));
  out.close();
  std::exit(code);
}

TEST(StartupProcess, HandOverEndsTheProgramWithExitCodeZero) {
  QTemporaryDir dir;
  // A newer copy waits, and the updater notes the hand-over in the update folder.
  auto make = [](const QString& path, const QByteArray& bytes, const QDateTime& time) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.flush();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    if (time.isValid()) ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
  };
  ASSERT_TRUE(QDir().mkpath(dir.path() + "/UPDFTP"));
  make(dir.path() + "/korvan", "old", QDateTime::currentDateTime().addDays(-1));
  make(dir.path() + "/UPDFTP/korvan", "new", QDateTime());
  make(dir.path() + "/update", "#!/bin/sh\n: > \"$(dirname \"$1\")/handed-over\"\n", QDateTime());
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KORVAN_CHILD_DIR", dir.path());
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_filter=StartupChild.DISABLED_HandOver", "--gtest_also_run_disabled_tests"});
  ASSERT_TRUE(child.waitForFinished(60000));
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0);
  QDeadlineTimer deadline(10000);
  while (!QFile::exists(dir.path() + "/UPDFTP/handed-over") && !deadline.hasExpired()) QThread::msleep(50);
  EXPECT_TRUE(QFile::exists(dir.path() + "/UPDFTP/handed-over")) << "the program folder comes from argv[0]";
  QFile result(dir.path() + "/result");
  ASSERT_TRUE(result.open(QIODevice::ReadOnly));
  EXPECT_EQ(result.readAll(), "0 none released") << "no window; the exit step ran";
}

TEST_F(Startup, ExitStepMayRunTwice) {
  int argc = 1;
  QByteArray exe = (dir.path() + "/korvan").toLocal8Bit();
  char* argv[] = {exe.data(), nullptr};
  QT_START(argc, argv);
  EXPECT_EQ(GETAPPPATH(), dir.path() + "/");
  ASSERT_TRUE(START());
  QT_END();
  EXPECT_FALSE(QFile::exists(":/res/korvan.png")) << "the icons are released";
  QT_END();
  QT_START(argc, argv);
  EXPECT_TRUE(QFile::exists(":/res/korvan.png")) << "a new start registers them again";
}
