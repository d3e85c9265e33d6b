// Migrations against crashes, failed renames and other copies of the
// program: a migration killed at each step, renames that fail, another
// process holding the table, two copies creating or migrating at once, and a
// copy appending while the table is migrated back and forth. The children are
// this test program started again on one test.
#include "libdbf_fixture.h"
#include "support/scriptedpresenter.h"

#include <QElapsedTimer>
#include <QSet>
#include <csignal>

using namespace korvan;
using namespace korvan::libdbftest;
using korvan::dbf::test::copyFixture;
using korvan::dbf::test::dbfreadRecords;
using korvan::dbf::test::isChild;
using korvan::dbf::test::startChild;
using korvan::dbf::test::waitChild;

namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

// Two migrations: INVOICE gains a field (its memos stay where they are), and
// a buyer table whose note becomes a memo (a memo file is made).
struct Scenario {
  QString name, table, title;
  Structure before, after;
  IndexList indexes;
  QStringList steps;
};

const Structure kNoteBefore = {{"PIB", 'C', 20, 0}, {"NAPOMENA", 'C', 60, 0}};
const Structure kNoteAfter = {{"PIB", 'C', 20, 0}, {"NAPOMENA", 'M', 10, 0}, {"EMAIL", 'C', 30, 0}};

Scenario scenario(const QString& name) {
  if (name == "invoice")
    return {name, "INVOICE", "INVOICE", invoiceBefore(), kInvoice, kInvoiceIdx,
            {"temp", "staged", "index-aside", "table", "index", "swapped"}};
  return {name, "KOMIT", "KOMITENATA", kNoteBefore, kNoteAfter, {{"BAZE\\KOMIT", "PIB"}},
          {"temp", "staged", "memo-file", "index-aside", "table", "index", "swapped"}};
}

void writeResult(bool ok, const QStringList& texts) {
  QFile f(env("RESULT"));
  f.open(QIODevice::WriteOnly);
  f.write((ok ? "1\n" : "0\n") + texts.join("\n").toUtf8());
}

struct Child {
  ScriptedPresenter boxes;
  Child() {
    SET_APPPATH(env("APP"));
    if (env("FAST") == "1") setLibdbfDelay([](double s) { QThread::msleep(int(s * 40)); });
  }
  ~Child() { dbf::closeAllAreas(); }
};

// Runs the scenario's migration; killed at STEP when one is given.
TEST(LibdbfChild, DISABLED_Migrate) {
  if (!isChild()) GTEST_SKIP();
  Child c;
  const Scenario s = scenario(env("SCENARIO"));
  const QString kill = env("STEP");
  setMigrationHook([&](const QString& step) {
    if (step == kill) ::raise(SIGKILL);
    return true;
  });
  if (!env("GO").isEmpty()) waitForFile(env("GO"));
  const bool ok = OTVORI(GETAPPPATH() + "BAZE/" + s.table, false, s.title, s.table, s.indexes, s.after);
  writeResult(ok, c.boxes.texts());
  if (ok && !env("HOLD").isEmpty()) waitForFile(env("HOLD"));
}

// Holds the table open (exclusive with MODE=X, else shared) until STOP exists.
TEST(LibdbfChild, DISABLED_Hold) {
  if (!isChild()) GTEST_SKIP();
  Child c;
  auto t = dbf::Table::open(env("TABLE"), env("MODE") == "X");
  ASSERT_TRUE(t);
  touch(env("READY"));
  waitForFile(env("STOP"));
}

// Opens INVOICE through OTVORI once GO exists.
TEST(LibdbfChild, DISABLED_Open) {
  if (!isChild()) GTEST_SKIP();
  Child c;
  waitForFile(env("GO"));
  const bool ok = OTVORI(GETAPPPATH() + "BAZE/INVOICE", false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice);
  if (ok) {
    EXPECT_TRUE(ADD_REC(4));
    dbf::current().put("INV_ID", id20(env("WHO").toInt()));
    dbf::current().commit();
  }
  writeResult(ok, c.boxes.texts());
}

// Appends COUNT rows to INVOICE, one open each, whatever its structure is now.
TEST(LibdbfChild, DISABLED_Writer) {
  if (!isChild()) GTEST_SKIP();
  Child c;
  const QString base = GETAPPPATH() + "BAZE/INVOICE";
  const int count = env("COUNT").toInt();
  for (int i = 0; i < count; ++i) {
    while (!NET_USE2(base, false, 1, "INVOICE", false)) {
    }
    ASSERT_TRUE(ADD_REC(4));
    dbf::current().put("INV_ID", id20(900000 + i));
    dbf::current().put("KOMITENT", QString("Pisac %1").arg(i));
    dbf::current().put("XML", QString("<pisac>%1</pisac>").arg(i));
    dbf::current().commit();
    dbf::closeArea("INVOICE");
  }
  writeResult(true, {});
}

class Copies : public LibdbfTest {
 protected:
  QString file(const QString& n) const { return dir.path() + "/" + n; }
  QStringList childEnv(const QStringList& more) const { return QStringList{"APP=" + app()} + more; }
  static QPair<bool, QStringList> result(const QString& path) {
    const QStringList lines = QString::fromUtf8(bytes(path)).split('\n');
    return {lines.value(0) == "1", lines.mid(1)};
  }

  // The old table with rows (for the note scenario: notes of every length, one deleted).
  void prepare(const Scenario& s) {
    if (s.name == "invoice") {
      oldInvoiceTable(10);
      return;
    }
    ASSERT_TRUE(OTVORI(baze(s.table), false, s.title, s.table, s.indexes, s.before));
    dbf::Table& t = *dbf::area(s.table);
    for (int i = 1; i <= 7; ++i) {
      ASSERT_TRUE(t.appendBlank());
      t.put("PIB", QString::number(10000 + i * 7 % 10));
      t.put("NAPOMENA", QString::fromUtf8("Napomena čćž ").repeated(i % 5));
      if (i == 4) t.markDeleted();
    }
    dbf::closeArea(s.table);
  }
  // What must survive: for each visible row its key and its text or memo.
  QList<QStringList> essence(const Scenario& s) {
    auto t = dbf::Table::open(baze(s.table), false, true);
    return s.name == "invoice" ? columns(*t, {"UI", "INV_ID", "KOMITENT", "IZNOS", "DATIZD", "XML"})
                               : columns(*t, {"PIB", "NAPOMENA"});
  }
  static QList<QStringList> trimmed(QList<QStringList> rows) {
    for (QStringList& r : rows)
      for (QString& v : r) v = v.trimmed();
    return rows;
  }
  // The readers' view: the same rows with the same texts.
  void expectReadersAgree(const Scenario& s, const QList<QStringList>& want) {
    const QList<QStringList> read = dbfreadRecords(dbf::findIgnoringCase(baze(s.table + ".dbf")));
    ASSERT_EQ(read.size(), want.size());
    for (int i = 0; i < read.size(); ++i) {
      if (s.name == "invoice") {
        EXPECT_EQ(read[i][1].trimmed(), want[i][1]);
        EXPECT_EQ(read[i][10], want[i][5]);
      } else {
        EXPECT_EQ(read[i][0], want[i][0]);
        EXPECT_EQ(read[i][1].trimmed(), want[i][1]);
      }
    }
  }
  // After the crash or the failure: whole, then migrated by the next open.
  void expectRecovered(const Scenario& s, const QList<QStringList>& want, bool newShape) {
    {
      auto t = dbf::Table::open(baze(s.table), false, true);
      ASSERT_TRUE(t);
      EXPECT_EQ(t->structure(), newShape ? s.after : s.before);
    }
    EXPECT_EQ(trimmed(essence(s)), want);
    expectReadersAgree(s, want);
    boxes.shown.clear();
    ASSERT_TRUE(OTVORI(baze(s.table), false, s.title, s.table, s.indexes, s.after)) << boxes.texts().join("|").toStdString();
    dbf::Table& t = *dbf::area(s.table);
    EXPECT_EQ(t.structure(), s.after);
    ASSERT_EQ(t.tagCount(), s.indexes.size());
    expectTagSound(t, dbf::findIgnoringCase(baze(s.table + ".cdx")), 1);
    dbf::closeArea(s.table);
    EXPECT_EQ(trimmed(essence(s)), want);
    expectReadersAgree(s, want);
    EXPECT_EQ(filesIn(baze()), QStringList({s.table + ".cdx", s.table + ".dbf", s.table + ".fpt"}));
    EXPECT_TRUE(filesIn(tmpFolder()).isEmpty());
  }
};

TEST_F(Copies, AMigrationKilledAtAnyStepLeavesAWholeTable) {
  for (const QString& name : QStringList{"invoice", "note"}) {
    const Scenario s = scenario(name);
    for (int i = 0; i < s.steps.size(); ++i) {
      const QString step = s.steps[i];
      SCOPED_TRACE((name + " killed at " + step).toStdString());
      dbf::closeAllAreas();
      QDir(baze()).removeRecursively();
      prepare(s);
      const QList<QStringList> want = trimmed(essence(s));
      ASSERT_FALSE(want.isEmpty());
      const qint64 pid = startChild("LibdbfChild.DISABLED_Migrate",
                                    childEnv({"SCENARIO=" + name, "STEP=" + step, "RESULT=" + file("result")}));
      EXPECT_EQ(waitChild(pid), 128 + SIGKILL);
      // Killed before the table file took the table's name: the old table.
      expectRecovered(s, want, i > s.steps.indexOf("table"));
    }
  }
}

TEST_F(Copies, AFailedRenameLeavesAWholeTable) {
  for (const QString& name : QStringList{"invoice", "note"}) {
    const Scenario s = scenario(name);
    for (const QString& step : QStringList{"memo-file", "index-aside", "table", "index"}) {
      if (!s.steps.contains(step)) continue;
      SCOPED_TRACE((name + " failing " + step).toStdString());
      dbf::closeAllAreas();
      QDir(baze()).removeRecursively();
      prepare(s);
      const QList<QStringList> want = trimmed(essence(s));
      const QByteArray cdx = bytes(dbf::findIgnoringCase(baze(s.table + ".cdx")));
      setMigrationHook([&](const QString& at) { return at != step; });
      boxes.shown.clear();
      const bool ok = OTVORI(baze(s.table), false, s.title, s.table, s.indexes, s.after);
      setMigrationHook({});
      if (step == "index") {
        // The new table is in; its index is built by the same open.
        EXPECT_TRUE(ok);
        EXPECT_TRUE(boxes.shown.isEmpty());
        dbf::closeArea(s.table);
      } else {
        EXPECT_FALSE(ok);
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_TRUE(boxes.shown[0].text.startsWith("NEMOZE SE AZURIRATI STRUKTURA BAZE " + baze(s.table)));
        EXPECT_FALSE(dbf::isUsed(s.table));
        EXPECT_EQ(bytes(dbf::findIgnoringCase(baze(s.table + ".cdx"))), cdx);  // the old index is back
      }
      expectRecovered(s, want, step == "index");
    }
  }
}

TEST_F(Copies, AMigrationWhileAnotherProcessHoldsTheTableSharedChangesNothing) {
  oldInvoiceTable(6);
  const QByteArray dbfBytes = bytes(baze("INVOICE.dbf")), fpt = bytes(baze("INVOICE.fpt")),
                   cdx = bytes(baze("INVOICE.cdx"));
  const qint64 pid = startChild("LibdbfChild.DISABLED_Hold", childEnv({"TABLE=" + baze("INVOICE"), "MODE=S",
                                                                       "READY=" + file("ready"), "STOP=" + file("stop")}));
  waitForFile(file("ready"));
  ASSERT_TRUE(QFileInfo::exists(file("ready")));
  EXPECT_FALSE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  EXPECT_EQ(boxes.texts(), QStringList({"NEMOZE SE AZURIRATI STRUKTURA BAZE " + baze("INVOICE")}));
  touch(file("stop"));
  EXPECT_EQ(waitChild(pid), 0);
  EXPECT_EQ(bytes(baze("INVOICE.dbf")), dbfBytes);
  EXPECT_EQ(bytes(baze("INVOICE.fpt")), fpt);
  EXPECT_EQ(bytes(baze("INVOICE.cdx")), cdx);
  EXPECT_TRUE(filesIn(tmpFolder()).isEmpty());
  // Held exclusively, the open itself fails.
  QFile::remove(file("ready"));
  QFile::remove(file("stop"));
  const qint64 x = startChild("LibdbfChild.DISABLED_Hold", childEnv({"TABLE=" + baze("INVOICE"), "MODE=X",
                                                                     "READY=" + file("ready"), "STOP=" + file("stop")}));
  waitForFile(file("ready"));
  boxes.shown.clear();
  EXPECT_FALSE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  EXPECT_EQ(boxes.texts(), QStringList({"BAZA INVOICE JE ZAKLJUCANA !\r\nNET_USE"}));
  touch(file("stop"));
  EXPECT_EQ(waitChild(x), 0);
  EXPECT_EQ(bytes(baze("INVOICE.dbf")), dbfBytes);
}

TEST_F(Copies, TwoCopiesCreatingTheSameTableBothOpenIt) {
  const qint64 a = startChild("LibdbfChild.DISABLED_Open",
                              childEnv({"GO=" + file("go"), "WHO=1", "RESULT=" + file("a"), "FAST=1"}));
  const qint64 b = startChild("LibdbfChild.DISABLED_Open",
                              childEnv({"GO=" + file("go"), "WHO=2", "RESULT=" + file("b"), "FAST=1"}));
  QThread::msleep(300);
  touch(file("go"));
  EXPECT_EQ(waitChild(a), 0);
  EXPECT_EQ(waitChild(b), 0);
  EXPECT_EQ(result(file("a")), qMakePair(true, QStringList({""})));
  EXPECT_EQ(result(file("b")), qMakePair(true, QStringList({""})));
  ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  EXPECT_EQ(columns(*dbf::area("INVOICE"), {"INV_ID"}).size(), 2);
  expectTagSound(*dbf::area("INVOICE"), baze("INVOICE.cdx"), 1);
}

TEST_F(Copies, TwoCopiesMigratingAtOnceLoseNothing) {
  const Scenario s = scenario("invoice");
  prepare(s);
  const QList<QStringList> want = trimmed(essence(s));
  QList<qint64> pids;
  for (const char* who : {"a", "b"})
    pids << startChild("LibdbfChild.DISABLED_Migrate",
                       childEnv({"SCENARIO=invoice", "GO=" + file("go"), "RESULT=" + file(who), "FAST=1"}));
  QThread::msleep(300);
  touch(file("go"));
  for (qint64 pid : pids) EXPECT_EQ(waitChild(pid), 0);
  int opened = 0;
  for (const char* who : {"a", "b"}) {
    const auto [ok, texts] = result(file(who));
    opened += ok;
    // A copy that could not wait long enough says so and changes nothing.
    if (!ok) {
      EXPECT_TRUE(texts.value(0).startsWith("NEMOZE SE AZURIRATI STRUKTURA BAZE ") ||
                  texts.value(0).startsWith("BAZA INVOICE JE ZAKLJUCANA !"))
          << texts.join("|").toStdString();
    }
  }
  EXPECT_GE(opened, 1);
  expectRecovered(s, want, true);
}

// A copy keeps appending, one open per row, while this one migrates the table
// back and forth: every row it wrote is in the table at the end.
TEST_F(Copies, RowsAppendedDuringMigrationsAreNeverLost) {
  oldInvoiceTable(20);
  setLibdbfDelay([](double s) { QThread::msleep(int(s * 40)); });
  const int count = 60;
  const qint64 pid = startChild("LibdbfChild.DISABLED_Writer",
                                childEnv({"COUNT=" + QString::number(count), "RESULT=" + file("w"), "FAST=1"}));
  int migrations = 0;
  QElapsedTimer clock;
  clock.start();
  bool wide = true;
  while (migrations < 6 && clock.elapsed() < 60000) {
    QString why;
    if (OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, wide ? kInvoice : invoiceBefore(), {},
               true, &why)) {
      EXPECT_EQ(dbf::area("INVOICE")->structure(), wide ? kInvoice : invoiceBefore());
      dbf::closeArea("INVOICE");
      ++migrations;
      wide = !wide;
    } else {
      EXPECT_TRUE(why.startsWith("NEMOZE SE AZURIRATI STRUKTURA BAZE ") || why.startsWith("BAZA INVOICE"))
          << why.toStdString();
      QThread::msleep(5);
    }
  }
  EXPECT_EQ(migrations, 6);
  EXPECT_EQ(waitChild(pid), 0);
  EXPECT_TRUE(result(file("w")).first);
  ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, {}));
  dbf::Table& t = *dbf::area("INVOICE");
  QSet<int> ids;
  int written = 0;
  for (t.top(); !t.eof(); t.skip()) {
    const int id = t.value("INV_ID").toString().trimmed().toInt();
    if (id >= 900000) {
      ++written;
      ids.insert(id);
      EXPECT_EQ(t.value("XML").toString(), QString("<pisac>%1</pisac>").arg(id - 900000));
    }
  }
  EXPECT_EQ(written, count);
  EXPECT_EQ(ids.size(), count);
  expectTagSound(t, baze("INVOICE.cdx"), 1);
}

// A table that FoxPro wrote (memo references of 4 bytes) migrates with its memos.
TEST_F(Copies, AFoxProTableMigratesWithItsMemos) {
  QDir().mkpath(baze());
  copyFixture("afox5.dbf", baze());
  copyFixture("afox5.FPT", baze());
  const qint64 memoSize = fileId(baze("afox5.FPT")).size;
  const QList<QStringList> before = dbfreadRecords(baze("afox5.dbf"));
  const Structure list = {{"ID", 'C', 10, 0},  {"PRICE", 'N', 11, 0}, {"NAME", 'C', 20, 0},
                          {"DESC", 'M', 10, 0}, {"MESSAGE", 'M', 10, 0}, {"NOVO", 'C', 3, 0}};
  ASSERT_TRUE(OTVORI(baze("afox5"), false, "AFOX5", "AFOX5", {{"AFOX5", "ID"}}, list));
  EXPECT_EQ(dbf::area("AFOX5")->structure(), list);
  dbf::closeArea("AFOX5");
  EXPECT_EQ(filesIn(baze()), QStringList({"afox5.FPT", "afox5.cdx", "afox5.dbf"}));
  EXPECT_EQ(fileId(baze("afox5.FPT")).size, memoSize);  // the memos kept their blocks
  QList<QStringList> after = dbfreadRecords(baze("afox5.dbf"));
  ASSERT_EQ(after.size(), before.size());
  for (int i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].takeLast(), "");
    EXPECT_EQ(after[i], before[i]);
  }
}

}  // namespace
