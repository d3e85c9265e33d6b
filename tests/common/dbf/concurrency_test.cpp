// Several processes on one table: appends, exclusive and shared opens, record
// locks. The children are this test program started again on one test.
#include "common/dbf/dbferror.h"
#include "common/dbf/table.h"
#include "common/dbf/workarea.h"
#include "dbftest.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

using namespace korvan::dbf;
using namespace korvan::dbf::test;

namespace {

const Structure kStore = {{"UI", 'C', 1, 0}, {"INV_ID", 'C', 20, 0}, {"KOMITENT", 'C', 40, 0},
                          {"IZNOS", 'N', 14, 2}, {"XML", 'M', 10, 0}};

QString env(const char* name) { return qEnvironmentVariable(name); }

void waitForFile(const QString& p) {
  for (int i = 0; i < 3000 && !QFileInfo::exists(p); ++i) QThread::msleep(10);
}

// Appends N records with ids WHO*100000+i, each with its key and a memo.
TEST(Child, DISABLED_Append) {
  if (!isChild()) GTEST_SKIP();
  const int who = env("WHO").toInt(), n = env("COUNT").toInt();
  waitForFile(env("GO"));
  auto t = Table::open(env("TABLE"), false);
  ASSERT_TRUE(t);
  t->setOrder(1);
  for (int i = 0; i < n; ++i) {
    bool added = false;
    for (int tries = 0; tries < 50 && !(added = t->appendBlank()); ++tries) QThread::msleep(20);
    ASSERT_TRUE(added);
    const int id = who * 100000 + i;
    t->put("UI", QString("I"));
    t->put("INV_ID", QString::number(id).rightJustified(20));
    t->put("KOMITENT", QString("Proces %1 slog %2").arg(who).arg(i));
    t->put("IZNOS", id / 100.0);
    t->put("XML", QString("<Invoice id=\"%1\"/>").arg(id).repeated(1 + i % 5));
    t->unlock();
    // Reading in between: seeks of the other process's keys must not disturb anything.
    if (i % 50 == 0) t->seek("I");
  }
}

// Holds the table open (exclusive when MODE=X, else shared with record 1 locked) until STOP exists.
TEST(Child, DISABLED_Hold) {
  if (!isChild()) GTEST_SKIP();
  auto t = Table::open(env("TABLE"), env("MODE") == "X");
  ASSERT_TRUE(t);
  if (env("MODE") == "L") {
    t->go(1);
    ASSERT_TRUE(t->lock());
  }
  QFile ready(env("READY"));
  ready.open(QIODevice::WriteOnly);
  ready.close();
  waitForFile(env("STOP"));
}

struct Processes : ::testing::Test {
  QTemporaryDir dir;
  QString table;
  void SetUp() override {
    table = dir.path() + "/invoice";
    Table::create(table, kStore);
    auto t = Table::open(table, true);
    t->buildTag("INVOICE", "UI+INV_ID");
  }
  QString file(const QString& n) const { return dir.path() + "/" + n; }
  void touch(const QString& n) const {
    QFile f(file(n));
    f.open(QIODevice::WriteOnly);
  }
  qint64 hold(const QString& mode) {
    const qint64 pid = startChild("Child.DISABLED_Hold", {"TABLE=" + table, "MODE=" + mode, "READY=" + file("ready"),
                                                         "STOP=" + file("stop")});
    waitForFile(file("ready"));
    EXPECT_TRUE(QFileInfo::exists(file("ready")));
    return pid;
  }
};

TEST_F(Processes, TwoProcessesAppendFiveHundredEach) {
  const qint64 a = startChild("Child.DISABLED_Append",
                              {"TABLE=" + table, "WHO=1", "COUNT=500", "GO=" + file("go")});
  const qint64 b = startChild("Child.DISABLED_Append",
                              {"TABLE=" + table, "WHO=2", "COUNT=500", "GO=" + file("go")});
  touch("go");
  EXPECT_EQ(waitChild(a), 0);
  EXPECT_EQ(waitChild(b), 0);
  auto t = Table::open(table, false, true);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->recCount(), 1000u);
  // Every record whole: its id, partner, amount and memo belong together.
  QSet<int> ids;
  for (t->top(); !t->eof(); t->skip()) {
    const int id = t->value("INV_ID").toString().trimmed().toInt();
    const int who = id / 100000, i = id % 100000;
    EXPECT_EQ(t->value("KOMITENT").toString().trimmed(), QString("Proces %1 slog %2").arg(who).arg(i));
    EXPECT_DOUBLE_EQ(t->value("IZNOS").toDouble(), id / 100.0);
    EXPECT_EQ(t->value("XML").toString(), QString("<Invoice id=\"%1\"/>").arg(id).repeated(1 + i % 5));
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), 1000);
  // 1,000 keys in order, one per record.
  t->setOrder(1);
  QList<QPair<QString, uint32_t>> keys = engineTag(*t, 1);
  ASSERT_EQ(keys.size(), 1000);
  for (int i = 1; i < keys.size(); ++i) EXPECT_LT(keys[i - 1].first, keys[i].first);
  EXPECT_EQ(keys, indexDump(table + ".cdx", "INVOICE"));
  EXPECT_EQ(dbfreadRecords(table + ".dbf").size(), 1000);
}

TEST_F(Processes, ExclusiveAgainstShared) {
  setErrorHandler({});
  {  // another process holds it shared: an exclusive open fails quietly with the flag
    const qint64 pid = hold("S");
    EXPECT_FALSE(Table::open(table, true));
    EXPECT_TRUE(netErr());
    auto s = Table::open(table, false);  // shared beside shared is fine
    EXPECT_TRUE(s);
    EXPECT_FALSE(netErr());
    touch("stop");
    EXPECT_EQ(waitChild(pid), 0);
  }
  QFile::remove(file("ready"));
  QFile::remove(file("stop"));
  {  // another process holds it exclusively: shared and read-only opens fail
    const qint64 pid = hold("X");
    EXPECT_FALSE(Table::open(table, false));
    EXPECT_TRUE(netErr());
    EXPECT_FALSE(Table::open(table, false, true));
    EXPECT_FALSE(useArea(table, "INVOICE", false));
    EXPECT_FALSE(isUsed("INVOICE"));
    touch("stop");
    EXPECT_EQ(waitChild(pid), 0);
  }
  EXPECT_TRUE(Table::open(table, true));  // once it is gone, exclusive works
}

TEST_F(Processes, SharingViolationGoesThroughTheInstalledHandler) {
  QList<ErrorInfo> seen;
  setErrorHandler([&](const ErrorInfo& e) {
    seen << e;
    setNetErr(true);
    return ErrorAction::Default;
  });
  const qint64 pid = hold("X");
  EXPECT_FALSE(Table::open(table, false));
  touch("stop");
  EXPECT_EQ(waitChild(pid), 0);
  setErrorHandler({});
  ASSERT_EQ(seen.size(), 1);
  EXPECT_EQ(seen[0].genCode, EG_OPEN);
  EXPECT_EQ(seen[0].osCode, kSharingViolation);
  EXPECT_TRUE(seen[0].canDefault);
  EXPECT_TRUE(netErr());
}

TEST_F(Processes, RecordLockHeldByAnotherProcess) {
  {
    auto t = Table::open(table, false);
    for (int i = 0; i < 2; ++i) {
      ASSERT_TRUE(t->appendBlank());
      t->put("INV_ID", QString::number(i + 1).rightJustified(20));
    }
  }
  const qint64 pid = hold("L");  // locks record 1
  auto t = Table::open(table, false);
  ASSERT_TRUE(t);
  t->go(1);
  EXPECT_FALSE(t->lock());
  EXPECT_THROW(t->put("KOMITENT", QString("x")), DbfError);
  t->go(2);
  EXPECT_TRUE(t->lock());  // other records are free
  ASSERT_TRUE(t->appendBlank());  // and so is appending
  EXPECT_EQ(t->recno(), 3u);
  touch("stop");
  EXPECT_EQ(waitChild(pid), 0);
  t->go(1);
  EXPECT_TRUE(t->lock());  // released when that process ended
}

TEST_F(Processes, WorkAreasCloseAndCloseAll) {
  ASSERT_TRUE(useArea(table, "INVOICE", false));
  EXPECT_THROW(useArea(table, "invoice", false), DbfError);  // alias in use
  ASSERT_TRUE(useArea(table, "SECOND", false, true));
  EXPECT_EQ(currentAlias(), "SECOND");
  ASSERT_TRUE(selectArea("invoice"));
  ASSERT_TRUE(current().appendBlank());
  current().put("UI", QString("I"));
  closeAllAreas();  // writes the pending record and releases every lock
  EXPECT_FALSE(isUsed("INVOICE"));
  EXPECT_FALSE(hasCurrent());
  EXPECT_THROW(current(), DbfError);
  auto t = Table::open(table, true);
  ASSERT_TRUE(t);
  t->go(1);
  EXPECT_EQ(t->value("UI").toString(), "I");
}

}  // namespace
