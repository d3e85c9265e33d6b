// The start-up hand-over on a program folder of its own, with the shell
// recorded instead of starting anything.
#include "update/handover.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/presenter.h"
#include "support/recordingshell.h"
#include "support/scriptedpresenter.h"

using namespace korvan;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

bool makeFile(const QString& path, const QByteArray& bytes, const QDateTime& time = QDateTime(),
              QFileDevice::Permissions extra = {}) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush()) return false;
  if (extra) f.setPermissions(f.permissions() | extra);
  return !time.isValid() || f.setFileTime(time, QFileDevice::FileModificationTime);
}

QDateTime at(int day, const char* hms) {
  return QDateTime(QDate(2022, 12, day), QTime::fromString(hms, "HH:mm:ss"));
}

constexpr QFileDevice::Permissions kRun = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

class HandOver : public ::testing::Test {
 protected:
  void SetUp() override {
    appPath = GETAPPPATH();
    prog = dir.path() + "/prog";
    QDir().mkpath(prog + "/UPDFTP");
    SET_APPPATH(prog);
    SET_EXENAME("korvan");
    ASSERT_TRUE(makeFile(prog + "/korvan", "old", at(14, "10:00:00"), kRun));
    ASSERT_TRUE(makeFile(prog + "/update", "#!/bin/sh\n", QDateTime(), kRun));
  }
  void TearDown() override {
    SET_APPPATH(appPath);
    SET_EXENAME(QString());
  }
  QString waiting() const { return prog + "/UPDFTP/korvan"; }

  QTemporaryDir dir;
  QString appPath;
  QString prog;
  RecordingShell shell;
  ScriptedPresenter boxes;
};

TEST_F(HandOver, TheNewerRuleOnFileTimes) {
  const struct {
    const char* name;
    QDateTime running;
    QDateTime waiting;
    bool handed;
  } cases[] = {
      {"exactly one hour later", at(14, "10:00:00"), at(14, "11:00:00"), false},
      {"one hour and a second", at(14, "10:00:00"), at(14, "11:00:01"), true},
      {"an earlier date", at(13, "23:59:59"), at(14, "00:00:01"), true},
      {"as old", at(14, "10:00:00"), at(14, "10:00:00"), false},
      {"older", at(14, "10:00:00"), at(13, "12:00:00"), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    shell.calls.clear();
    QFile::remove(prog + "/UPDFTP/" + UPD_BELESKA());
    ASSERT_TRUE(makeFile(prog + "/korvan", "old", c.running));
    ASSERT_TRUE(makeFile(waiting(), "new", c.waiting));
    EXPECT_EQ(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP"), c.handed);
    ASSERT_EQ(shell.calls.size(), c.handed ? 1 : 0);
    if (c.handed) {
      EXPECT_EQ(shell.calls[0].op, "program");
      EXPECT_EQ(shell.calls[0].target, prog + "/update");
      EXPECT_EQ(shell.calls[0].args, QStringList({waiting(), prog + "/korvan"}));
    }
  }
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(HandOver, NothingWaitingStartsNothing) {
  EXPECT_FALSE(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP"));
  ASSERT_TRUE(makeFile(waiting(), "new", at(15, "10:00:00")));
  EXPECT_FALSE(PROVERI_NOVU_VERZIJU(u("SSH>korisnik@host/") + prog + "/UPDFTP")) << "upper case: a local folder";
  EXPECT_TRUE(shell.calls.isEmpty());
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(HandOver, ExtraArgumentAndTheWaitingCopyFoundIgnoringCase) {
  SET_EXENAME("KORVAN");
  ASSERT_TRUE(makeFile(prog + "/KORVAN", "old", at(14, "10:00:00"), kRun));
  ASSERT_TRUE(makeFile(waiting(), "new", at(15, "10:00:00")));
  EXPECT_TRUE(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP", "abc"));
  ASSERT_EQ(shell.calls.size(), 1);
  EXPECT_EQ(shell.calls[0].args, QStringList({waiting(), prog + "/KORVAN", "abc"}));
}

TEST_F(HandOver, AnUpdaterThatCannotStartIsSaidAndTheStartGoesOn) {
  ASSERT_TRUE(makeFile(waiting(), "new", at(15, "10:00:00")));
  const struct {
    const char* name;
    std::function<void()> spoil;
  } cases[] = {
      {"missing", [&] { QFile::remove(prog + "/update"); }},
      {"not executable", [&] { makeFile(prog + "/update", "#!/bin/sh\n"); QFile(prog + "/update").setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner); }},
      {"start refused", [&] { makeFile(prog + "/update", "#!/bin/sh\n", QDateTime(), kRun); shell.result = false; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.spoil();
    boxes.shown.clear();
    EXPECT_EQ(UPD_PREDAJA(prog + "/UPDFTP"), UpdPredaja::NijePokrenut);
    EXPECT_FALSE(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP"));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, u("Nije moguće pokrenuti program za ažuriranje!"));
    EXPECT_TRUE(QFile::exists(waiting())) << "tried again at the next start";
    EXPECT_FALSE(QFile::exists(prog + "/UPDFTP/" + UPD_BELESKA()));
  }
}

TEST_F(HandOver, TheSameCopyIsNeverHandedOverTwice) {
  ASSERT_TRUE(makeFile(waiting(), "new", at(15, "10:00:00")));
  ASSERT_TRUE(makeFile(prog + "/UPDFTP/korvan.sfv", "korvan 00000000\r\n"));
  EXPECT_TRUE(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP"));
  EXPECT_FALSE(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP"));
  EXPECT_EQ(shell.calls.size(), 1);
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text, u("Nova verzija nije aktivirana, ponovite UPDATE."));
  EXPECT_TRUE(QDir(prog + "/UPDFTP").entryList(QDir::Files).isEmpty()) << "copy, check file and note gone";

  // A new download (another time) is handed over again.
  ASSERT_TRUE(makeFile(waiting(), "newer", at(16, "10:00:00")));
  EXPECT_TRUE(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP"));
  ASSERT_TRUE(makeFile(waiting(), "newer!", at(16, "10:00:00")));
  EXPECT_TRUE(PROVERI_NOVU_VERZIJU(prog + "/UPDFTP")) << "another size: another copy";
  EXPECT_EQ(shell.calls.size(), 3);
}

TEST_F(HandOver, ExecutablePathIsTheProgramFolderAndTheStartedName) {
  SET_EXENAME("korvan-link");
  EXPECT_EQ(GETEXEFILENAME(), prog + "/korvan-link");
  QString deep = dir.path();
  for (int i = 0; i < 6; ++i) deep += "/" + QString(50, QChar('a' + i));
  ASSERT_TRUE(QDir().mkpath(deep));
  SET_APPPATH(deep);
  EXPECT_EQ(GETEXEFILENAME(), deep + "/korvan-link") << "no length limit";
}

}  // namespace
