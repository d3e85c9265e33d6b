// Tables written by FoxPro: the engine reads them, and after it writes to
// copies of them the Debian readers still agree with it.
#include "common/dbf/dbferror.h"
#include "common/dbf/table.h"
#include "dbftest.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace korvan::dbf;
using namespace korvan::dbf::test;

namespace {

struct Fixtures : ::testing::Test {
  QTemporaryDir dir;
  QString rooms, afox;
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    rooms = copyFixture("rooms.dbf", dir.path());
    copyFixture("rooms.cdx", dir.path());
    afox = copyFixture("afox5.dbf", dir.path());
    copyFixture("afox5.FPT", dir.path());
  }
  // Every visible record's fields as the engine reads them (right-trimmed).
  static QList<QStringList> engineRecords(Table& t) {
    QList<QStringList> rows;
    t.setOrder(0);
    for (t.top(); !t.eof(); t.skip()) {
      QStringList row;
      for (int i = 1; i <= t.fieldCount(); ++i) {
        const QVariant v = t.value(i);
        QString s;
        if (t.field(i).type == 'N') s = QString::number(v.toDouble(), 'g', 15);
        else if (t.field(i).type == 'D') s = v.toDate().isValid() ? v.toDate().toString("yyyyMMdd") : "";
        else s = v.toString();
        while (s.endsWith(' ')) s.chop(1);
        row << s;
      }
      rows << row;
    }
    return rows;
  }
  static QList<QStringList> numbersAsEngine(QList<QStringList> rows, Table& t) {
    for (QStringList& r : rows)
      for (int i = 0; i < r.size(); ++i)
        if (t.field(i + 1).type == 'N') r[i] = QString::number(r[i].toDouble(), 'g', 15);
    return rows;
  }
};

TEST_F(Fixtures, RoomsStructureRecordsAndTags) {
  auto t = Table::open(rooms, false, true);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->version(), 0x03);
  EXPECT_EQ(t->structure(), (Structure{{"ROOMNAME", 'C', 10, 0}, {"FACILITY", 'C', 10, 0}}));
  EXPECT_EQ(t->recCount(), 42u);
  t->go(2);
  EXPECT_EQ(t->value("ROOMNAME").toString(), "Bay  1    ");
  EXPECT_EQ(t->value(2).toString(), "Main      ");
  // Five tags in build order; the three with a FOR condition are read only.
  ASSERT_EQ(t->tagCount(), 5);
  QStringList names;
  for (int i = 1; i <= 5; ++i) names << t->tagName(i);
  EXPECT_EQ(names, (QStringList{"ROOMNAME", "FACILITY", "AUDIO", "MAIN", "FILM"}));
  EXPECT_TRUE(t->tagMaintained(1));
  EXPECT_TRUE(t->tagMaintained(2));
  EXPECT_FALSE(t->tagMaintained(3));
  EXPECT_EQ(engineRecords(*t), dbfreadRecords(rooms));
  EXPECT_EQ(engineRecords(*t), dbfDumpRecords(rooms));
  const QString cdx = dir.path() + "/rooms.cdx";
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(engineTag(*t, i), indexDump(cdx, t->tagName(i))) << names[i - 1].toStdString();
}

TEST_F(Fixtures, RoomsSeekInFoxProIndex) {
  auto t = Table::open(rooms, false, true);
  ASSERT_TRUE(t);
  t->setOrder("ROOMNAME");
  EXPECT_TRUE(t->seek("Mix C"));
  EXPECT_EQ(t->value("ROOMNAME").toString().trimmed(), "Mix C");
  EXPECT_TRUE(t->seek("Mix"));  // a shorter key finds the first that begins with it
  EXPECT_EQ(t->value("ROOMNAME").toString().trimmed(), "Mix A");
  EXPECT_FALSE(t->seek("Mix", false, true));  // exact: "Mix" padded is no key
  EXPECT_TRUE(t->eof());
  EXPECT_FALSE(t->seek("Mix Z", true));  // soft: the next higher key
  EXPECT_FALSE(t->eof());
  EXPECT_EQ(t->value("ROOMNAME").toString().trimmed(), "SCANNING");
  t->setOrder("AUDIO");  // an order with a FOR condition is read as FoxPro keeps it
  t->top();
  EXPECT_EQ(t->value("ROOMNAME").toString().trimmed(), "ADR-Foley");
}

TEST_F(Fixtures, WritingToATableWithAForTagIsRefused) {
  auto t = Table::open(rooms, true);
  ASSERT_TRUE(t);
  const QByteArray before = [&] { QFile f(rooms); f.open(QIODevice::ReadOnly); return f.readAll(); }();
  t->go(3);
  try {
    t->put("ROOMNAME", "Bay 99");
    FAIL() << "write to a table whose index cannot be kept was allowed";
  } catch (const DbfError& e) {
    EXPECT_EQ(e.info().genCode, EG_UNSUPPORTED);
    EXPECT_TRUE(e.info().description.contains("AUDIO")) << e.what();
  }
  EXPECT_THROW(t->appendBlank(), DbfError);
  EXPECT_THROW(t->markDeleted(), DbfError);
  t->close();
  QFile f(rooms);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
}

TEST_F(Fixtures, RoomsRebuiltTagsKeepTheTableWritableAndReadable) {
  auto t = Table::open(rooms, true);
  ASSERT_TRUE(t);
  // Rebuilding the FOR tags as plain tags makes every tag one the engine keeps.
  t->buildTag("AUDIO", "ROOMNAME");
  t->buildTag("MAIN", "FACILITY+ROOMNAME");
  t->buildTag("FILM", "ROOMNAME");
  t->buildTag("NEWTAG", "FACILITY");
  ASSERT_EQ(t->tagCount(), 6);
  EXPECT_EQ(t->tagName(3), "AUDIO");  // rebuilt in place: the number stays
  ASSERT_TRUE(t->appendBlank());
  t->put("ROOMNAME", "Šifra Ž");
  t->put("FACILITY", "Audio");
  t->go(5);
  t->put("ROOMNAME", "Bay 55");
  t->markDeleted();
  t->go(7);
  t->put("FACILITY", "Film");
  t->commit();
  EXPECT_EQ(engineRecords(*t), dbfreadRecords(rooms));
  EXPECT_EQ(engineRecords(*t), dbfDumpRecords(rooms));
  const QString cdx = dir.path() + "/rooms.cdx";
  for (int i = 1; i <= t->tagCount(); ++i) {
    QList<QPair<QString, uint32_t>> dumped = indexDump(cdx, t->tagName(i));
    dumped.removeIf([](const auto& e) { return e.second == 5; });  // the deleted record
    EXPECT_EQ(engineTag(*t, i), dumped) << t->tagName(i).toStdString();
  }
}

TEST_F(Fixtures, VisualFoxProMemoTable) {
  {
    auto t = Table::open(afox, false, true);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->version(), 0x30);
    EXPECT_EQ(t->structure(), (Structure{{"ID", 'C', 10, 0}, {"PRICE", 'N', 11, 0}, {"NAME", 'C', 20, 0},
                                         {"DESC", 'M', 4, 0}, {"MESSAGE", 'M', 4, 0}}));
    t->go(1);
    EXPECT_EQ(t->value("DESC").toString(), "first desc.");
    EXPECT_EQ(t->value("MESSAGE").toString(), "first mess.");
    EXPECT_EQ(t->value("PRICE").toDouble(), 10);
    t->go(2);
    EXPECT_EQ(t->value("MESSAGE").toString(), "second mess.");
    EXPECT_EQ(engineRecords(*t), numbersAsEngine(dbfreadRecords(afox), *t));
  }
  // Memo growth (appended at the end) and a rewrite that fits (in place).
  const QString fpt = dir.path() + "/afox5.FPT";
  const qint64 sizeBefore = QFileInfo(fpt).size();
  auto t = Table::open(afox, false);
  ASSERT_TRUE(t);
  t->go(1);
  ASSERT_TRUE(t->lock());
  t->put("DESC", "short");
  t->unlock();
  EXPECT_EQ(QFileInfo(fpt).size(), sizeBefore);
  t->go(2);
  ASSERT_TRUE(t->lock());
  const QString longText = QString("Dugačak opis računa, ćčžšđ. ").repeated(40);
  t->put("MESSAGE", longText);
  t->put("PRICE", 12345);
  t->unlock();
  EXPECT_GT(QFileInfo(fpt).size(), sizeBefore + longText.toUtf8().size());
  ASSERT_TRUE(t->appendBlank());
  t->put("ID", "d33");
  t->put("DESC", "third");
  t->unlock();
  t->go(1);
  EXPECT_EQ(t->value("DESC").toString(), "short");
  t->go(2);
  EXPECT_EQ(t->value("MESSAGE").toString(), longText);
  EXPECT_EQ(t->version(), 0x30);
  const QList<QStringList> engine = engineRecords(*t);
  ASSERT_EQ(engine.size(), 3);
  EXPECT_EQ(engine, numbersAsEngine(dbfreadRecords(afox), *t));
  QList<QStringList> dumped = dbfDumpRecords(afox);
  EXPECT_EQ(engine, numbersAsEngine(dumped, *t));
}

}  // namespace
