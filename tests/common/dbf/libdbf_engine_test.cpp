// What the table opening and migration need of the engine: an open that
// waited while the table was replaced, appending from an open table, an index
// replaced in one step, upper-case file names.
#include "common/dbf/dbferror.h"
#include "common/dbf/table.h"
#include "dbftest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <gtest/gtest.h>

using namespace korvan::dbf;
using namespace korvan::dbf::test;

namespace {

const Structure kRows = {{"ID", 'C', 6, 0}, {"NAZIV", 'C', 20, 0}, {"IZNOS", 'N', 10, 2}, {"NAPOMENA", 'M', 10, 0}};

QByteArray fileBytes(const QString& p) {
  QFile f(p);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

struct Engine : ::testing::Test {
  QTemporaryDir dir;
  QString path(const QString& name) const { return dir.path() + "/" + name; }
  void TearDown() override { setErrorHandler({}); }
  // A table with rows id i, name, amount and a memo; ids in deleted are marked.
  void make(const QString& name, const QStringList& ids, const QStringList& deleted = {}) {
    Table::create(path(name), kRows);
    auto t = Table::open(path(name), true);
    for (const QString& id : ids) {
      ASSERT_TRUE(t->appendBlank());
      t->put("ID", id);
      t->put("NAZIV", "Naziv " + id);
      t->put("IZNOS", id.mid(1).toDouble() / 4);
      t->put("NAPOMENA", "Napomena za " + id);
      if (deleted.contains(id)) t->markDeleted();
    }
  }
  static QStringList ids(Table& t) {
    QStringList out;
    for (t.top(); !t.eof(); t.skip()) out << t.value("ID").toString().trimmed();
    return out;
  }
};

// The open locks the file it opened; when the name meanwhile leads to another
// file (a migration renamed the new table over it), it must not stay on the
// removed one, where its writes would be lost.
TEST_F(Engine, AnOpenThatWaitedWhileTheTableWasReplacedOpensTheNewFile) {
  make("t", {"a1"});
  make("n", {"b1", "b2"});
  auto holder = Table::open(path("t"), true);
  ASSERT_TRUE(holder);
  int calls = 0;
  setErrorHandler([&](const ErrorInfo& e) {
    if (e.genCode != EG_OPEN || e.osCode != kSharingViolation) return ErrorAction::Throw;
    if (++calls == 1) {
      // The swap happens while the other open waits for its lock.
      EXPECT_EQ(std::rename(QFile::encodeName(path("n.fpt")).constData(), QFile::encodeName(path("t.fpt")).constData()), 0);
      EXPECT_EQ(std::rename(QFile::encodeName(path("n.dbf")).constData(), QFile::encodeName(path("t.dbf")).constData()), 0);
      holder.reset();
    }
    return ErrorAction::Retry;
  });
  auto t = Table::open(path("t"), false);
  ASSERT_TRUE(t);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ids(*t), QStringList({"b1", "b2"}));
  t->go(2);
  ASSERT_TRUE(t->lock());
  t->put("NAZIV", QString("upisano"));
  t->unlock();
  t.reset();
  setErrorHandler({});
  auto again = Table::open(path("t"), false, true);
  again->go(2);
  EXPECT_EQ(again->value("NAZIV").toString().trimmed(), "upisano");
  EXPECT_EQ(again->value("NAPOMENA").toString(), "Napomena za b2");
}

TEST_F(Engine, AnOpenThatWaitedWhileTheTableWasRemovedFails) {
  make("t", {"a1"});
  auto holder = Table::open(path("t"), true);
  setErrorHandler([&](const ErrorInfo& e) {
    if (e.genCode != EG_OPEN || e.osCode != kSharingViolation) return ErrorAction::Throw;
    QFile::remove(path("t.dbf"));
    holder.reset();
    return ErrorAction::Retry;
  });
  try {
    Table::open(path("t"), false);
    FAIL() << "opened a removed table";
  } catch (const DbfError& e) {
    EXPECT_EQ(e.info().genCode, EG_OPEN);
    EXPECT_EQ(e.info().osCode, 2);
  }
}

TEST_F(Engine, AppendFromATableThisProcessHoldsExclusively) {
  make("src", {"a1", "a2", "a3", "a4"}, {"a2"});
  Table::create(path("dst"), {{"ID", 'C', 3, 0}, {"NAPOMENA", 'M', 10, 0}, {"NOVO", 'C', 5, 0}});
  auto src = Table::open(path("src"), true);
  auto dst = Table::open(path("dst"), true);
  // The path form opens the source again, which its exclusive open forbids.
  EXPECT_THROW(dst->appendFrom(path("src")), DbfError);
  EXPECT_EQ(dst->appendFrom(*src), 3);
  EXPECT_EQ(ids(*dst), QStringList({"a1", "a3", "a4"}));
  dst->go(3);
  EXPECT_EQ(dst->value("NAPOMENA").toString(), "Napomena za a4");
  EXPECT_EQ(dst->value("NOVO").toString(), "     ");
  EXPECT_THROW(dst->appendFrom(*dst), DbfError);
}

TEST_F(Engine, RebuildIndexReplacesEveryTagInOneStep) {
  make("t", {"c3", "a1", "b2", "a0"}, {"b2"});
  {
    auto t = Table::open(path("t"), true);
    t->buildTag("STARI", "NAZIV");
    t->buildTag("ID", "ID");
  }
  auto t = Table::open(path("t"), true);
  t->rebuildIndex({{"NAZIV", "NAZIV"}, {"OBA", "ID+NAZIV"}});
  ASSERT_EQ(t->tagCount(), 2);
  EXPECT_EQ(t->tagName(1), "NAZIV");
  EXPECT_EQ(t->tagName(2), "OBA");
  EXPECT_EQ(t->order(), 1);
  EXPECT_EQ(ids(*t), QStringList({"a0", "a1", "c3"}));
  for (int order : {1, 2}) {
    QList<QPair<QString, uint32_t>> all = indexDump(path("t.cdx"), t->tagName(order));
    EXPECT_EQ(all.size(), 4);  // the deleted record keeps its key
    all.removeIf([](const auto& k) { return k.second == 3; });
    EXPECT_EQ(engineTag(*t, order), all) << order;
  }
  EXPECT_FALSE(t->setOrder(QString("STARI")));
  // A key that cannot be built leaves the index as it was.
  const QByteArray before = fileBytes(path("t.cdx"));
  EXPECT_THROW(t->rebuildIndex({{"X", "ID"}, {"Y", "IZNOS"}}), DbfError);
  EXPECT_EQ(fileBytes(path("t.cdx")), before);
  EXPECT_EQ(t->tagCount(), 2);
  const QStringList left = QDir(dir.path()).entryList(QDir::Files);
  EXPECT_EQ(left, QStringList({"t.cdx", "t.dbf", "t.fpt"}));
  t.reset();
  auto shared = Table::open(path("t"), false);
  EXPECT_THROW(shared->rebuildIndex({{"ID", "ID"}}), DbfError);
}

TEST_F(Engine, UpperCaseExtensionGivesUpperCaseFiles) {
  Table::create(path("TEMP.DBF"), kRows);
  {
    auto t = Table::open(path("TEMP"), true);
    ASSERT_TRUE(t->appendBlank());
    t->put("ID", QString("x"));
    t->rebuildIndex({{"ID", "ID"}});
  }
  Table::create(path("mala.dbf"), kRows);
  {
    auto t = Table::open(path("mala"), true);
    t->buildTag("ID", "ID");
  }
  QStringList files = QDir(dir.path()).entryList(QDir::Files);
  files.sort();
  EXPECT_EQ(files, QStringList({"TEMP.CDX", "TEMP.DBF", "TEMP.FPT", "mala.cdx", "mala.dbf", "mala.fpt"}));
  EXPECT_EQ(dbfreadRecords(path("TEMP.DBF")).size(), 1);
  EXPECT_EQ(indexDump(path("TEMP.CDX"), "ID").size(), 1);
}

TEST(MemoRefs, BothStoredFormsRoundTrip) {
  for (uint32_t block : {0u, 8u, 123456u}) {
    const QByteArray text = memoRefBytes(block, 10), bin = memoRefBytes(block, 4);
    EXPECT_EQ(text.size(), 10);
    EXPECT_EQ(memoRefBlock(reinterpret_cast<const uint8_t*>(text.constData()), 10), block);
    EXPECT_EQ(memoRefBlock(reinterpret_cast<const uint8_t*>(bin.constData()), 4), block);
  }
  EXPECT_EQ(memoRefBytes(0, 10), QByteArray(10, ' '));
  EXPECT_EQ(memoRefBlock(reinterpret_cast<const uint8_t*>("   12x    "), 10), -1);
}

}  // namespace
