// The engine on tables it creates: structure, field rules, moving, seeking,
// deleted records, memo growth and the readers' view of the files.
#include "common/dbf/dbferror.h"
#include "common/dbf/memo.h"
#include "common/dbf/table.h"
#include "dbftest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace korvan::dbf;
using namespace korvan::dbf::test;

namespace {

const Structure kInvoice = {
    {"UI", 'C', 1, 0},        {"INV_ID", 'C', 20, 0},  {"BRDOK", 'C', 30, 0},   {"TIPDOK", 'C', 10, 0},
    {"STATUS", 'C', 10, 0},   {"KOMITENT", 'C', 40, 0}, {"IZNOS", 'N', 14, 2},  {"DATPROM", 'D', 8, 0},
    {"DATIZD", 'D', 8, 0},    {"DATDOSP", 'D', 8, 0},  {"XML", 'M', 10, 0},     {"ODOBRENO", 'C', 2, 0},
    {"NACINODOBR", 'C', 20, 0}, {"RAZLOGODB", 'C', 30, 0}};

QByteArray fileBytes(const QString& p) {
  QFile f(p);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

QString id20(int id) { return QString::number(id).rightJustified(20, ' '); }

struct Tables : ::testing::Test {
  QTemporaryDir dir;
  QString path(const QString& name) const { return dir.path() + "/" + name; }
  // A shared-open table with rows (UI, id, partner) and the tag UI+INV_ID.
  std::unique_ptr<Table> invoices(const QList<QPair<QString, int>>& rows) {
    Table::create(path("invoice"), kInvoice);
    {
      auto t = Table::open(path("invoice"), true);
      t->buildTag("INVOICE", "UI+INV_ID");
      for (const auto& [ui, id] : rows) {
        EXPECT_TRUE(t->appendBlank());
        t->put("UI", ui);
        t->put("INV_ID", id20(id));
        t->put("KOMITENT", "Kupac " + QString::number(id));
      }
    }
    auto t = Table::open(path("invoice"), false);
    t->setOrder(1);
    return t;
  }
  static QString id(Table& t) { return t.value("INV_ID").toString().trimmed(); }
};

TEST_F(Tables, CreateWritesTheFoxProLayout) {
  Table::create(path("plain"), {{"A", 'C', 5, 0}, {"D", 'D', 3, 0}, {"L", 'L', 9, 0}});
  const QByteArray b = fileBytes(path("plain.dbf"));
  ASSERT_EQ(b.size(), 32 + 3 * 32 + 1 + 1);
  EXPECT_EQ(uint8_t(b[0]), 0x03);
  EXPECT_EQ(uint8_t(b[b.size() - 1]), 0x1A);
  EXPECT_FALSE(QFileInfo::exists(path("plain.fpt")));
  Table::create(path("memo"), {{"M", 'M', 4, 0}, {"N", 'N', 5, 1}});
  EXPECT_EQ(uint8_t(fileBytes(path("memo.dbf"))[0]), 0xF5);
  const QByteArray fpt = fileBytes(path("memo.fpt"));
  ASSERT_EQ(fpt.size(), 512);
  EXPECT_EQ(fpt.mid(0, 8), QByteArray::fromHex("0000000800000040"));  // next free block 8, blocks of 64
  auto t = Table::open(path("plain"), false, true);
  EXPECT_EQ(t->structure(), (Structure{{"A", 'C', 5, 0}, {"D", 'D', 8, 0}, {"L", 'L', 1, 0}}));
  auto m = Table::open(path("memo.DBF"), false, true);  // extension in any case
  EXPECT_EQ(m->field(1), (FieldDef{"M", 'M', 10, 0}));
}

TEST_F(Tables, CreateRefusesBadListsAndExistingTables) {
  const QList<Structure> bad = {
      {},
      {{"1A", 'C', 5, 0}},
      {{"TOOLONGNAME", 'C', 5, 0}},
      {{"A", 'C', 0, 0}},
      {{"A", 'N', 21, 0}},
      {{"A", 'N', 5, 4}},
      {{"A", 'X', 5, 0}},
      {{"A", 'C', 5, 0}, {"a", 'C', 5, 0}},
  };
  for (const Structure& s : bad) EXPECT_THROW(Table::create(path("bad"), s), DbfError);
  EXPECT_FALSE(QFileInfo::exists(path("bad.dbf")));
  Table::create(path("t"), {{"A", 'C', 5, 0}});
  {
    auto t = Table::open(path("t"), true);
    ASSERT_TRUE(t->appendBlank());
  }
  try {
    Table::create(path("t"), {{"B", 'C', 5, 0}});
    FAIL();
  } catch (const DbfError& e) {
    EXPECT_EQ(e.info().genCode, EG_CREATE);
  }
  {
    auto open = Table::open(path("t"), false);
    EXPECT_THROW(Table::create(path("t"), {{"B", 'C', 5, 0}}, true), DbfError);  // in use: kept
  }
  EXPECT_EQ(Table::open(path("t"), false)->recCount(), 1u);
  Table::create(path("t"), {{"B", 'C', 5, 0}}, true);
  EXPECT_EQ(Table::open(path("t"), false)->recCount(), 0u);
}

TEST_F(Tables, FieldRules) {
  Table::create(path("f"), {{"C", 'C', 5, 0}, {"N", 'N', 8, 2}, {"I", 'N', 4, 0}, {"D", 'D', 8, 0}, {"L", 'L', 1, 0}});
  auto t = Table::open(path("f"), true);
  ASSERT_TRUE(t->appendBlank());
  EXPECT_EQ(t->value("C").toString(), "     ");
  EXPECT_EQ(t->value("N").toDouble(), 0);
  EXPECT_FALSE(t->value("D").toDate().isValid());
  EXPECT_EQ(t->value("L").toBool(), false);
  struct TextCase {
    QString in;
    QByteArray stored;
  };
  // Widths count UTF-8 bytes; a letter of two bytes is never cut in half.
  for (const TextCase& c : {TextCase{"abc", "abc  "}, TextCase{"abcdefg", "abcde"}, TextCase{"ćčž", "ćč "},
                            TextCase{"abčd", "abčd"}, TextCase{"abcdč", "abcd "}}) {
    t->put("C", c.in);
    EXPECT_EQ(t->raw(1), c.stored) << c.in.toStdString();
  }
  struct NumCase {
    QVariant in;
    QByteArray stored;
  };
  for (const NumCase& c : {NumCase{1.005, "    1.01"}, NumCase{-2.5, "   -2.50"}, NumCase{12345.678, "12345.68"},
                           NumCase{0.004, "    0.00"}, NumCase{-0.004, "    0.00"}, NumCase{7, "    7.00"},
                           NumCase{QString(" 3.145 "), "    3.15"}, NumCase{99999.995, "********"}}) {
    if (c.stored.startsWith('*')) {
      EXPECT_THROW(t->put("N", c.in), DbfError) << "a number that does not fit is refused, never cut";
      continue;
    }
    t->put("N", c.in);
    EXPECT_EQ(t->raw(2), c.stored) << c.in.toString().toStdString();
  }
  t->put("I", 1234);
  EXPECT_EQ(t->raw(3), "1234");
  EXPECT_THROW(t->put("I", 12345), DbfError);
  EXPECT_THROW(t->put("N", QString("12a")), DbfError);
  EXPECT_THROW(t->put("C", 5), DbfError);
  t->put("D", QDate(2022, 12, 14));
  EXPECT_EQ(t->raw(4), "20221214");
  t->put("L", true);
  EXPECT_EQ(t->raw(5), "T");
  t->close();
  auto r = Table::open(path("f"), false, true);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->value("N").toDouble(), 3.15);  // the last number written
  EXPECT_EQ(r->value("D").toDate(), QDate(2022, 12, 14));
  EXPECT_TRUE(r->value("L").toBool());
}

TEST_F(Tables, NumberTextThatIsNoNumberIsNotReadAsZero) {
  Table::create(path("f"), {{"N", 'N', 6, 2}});
  {
    auto t = Table::open(path("f"), true);
    ASSERT_TRUE(t->appendBlank());
  }
  QFile f(path("f.dbf"));
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  f.seek(32 + 32 + 1 + 1);
  f.write("******");
  f.close();
  auto t = Table::open(path("f"), false, true);
  EXPECT_THROW(t->value("N"), DbfError);
}

TEST_F(Tables, MovingInRecordOrderWithBofAndEof) {
  Table::create(path("m"), {{"A", 'C', 3, 0}});
  auto t = Table::open(path("m"), true);
  t->top();
  EXPECT_TRUE(t->eof());
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(t->recno(), 1u);
  for (const char* v : {"a", "b", "c"}) {
    ASSERT_TRUE(t->appendBlank());
    t->put(1, QString(v));
  }
  t->top();
  EXPECT_EQ(t->recno(), 1u);
  t->skip(2);
  EXPECT_EQ(t->value(1).toString().trimmed(), "c");
  t->skip();
  EXPECT_TRUE(t->eof());
  EXPECT_EQ(t->recno(), 4u);
  EXPECT_EQ(t->value(1).toString(), "   ");  // blank at end-of-file
  t->skip(-1);
  EXPECT_FALSE(t->eof());
  EXPECT_EQ(t->recno(), 3u);
  t->skip(-5);
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(t->recno(), 1u);
  t->go(2);
  EXPECT_EQ(t->value(1).toString().trimmed(), "b");
  t->go(9);
  EXPECT_TRUE(t->eof());
  t->go(2);
  t->markDeleted();
  t->top();
  t->skip();
  EXPECT_EQ(t->recno(), 3u);  // the deleted record is hidden
  t->go(2);
  EXPECT_TRUE(t->deleted());  // but can be gone to by number
  EXPECT_EQ(t->recCount(), 3u);
}

TEST_F(Tables, SoftSeekThenSkipBackToBof) {
  auto t = invoices({{"I", 9}, {"I", 10}, {"I", 3}, {"U", 5}});
  // The listing of one direction: soft seek past its last key, step back.
  EXPECT_FALSE(t->seek("J", true));
  ASSERT_FALSE(t->eof());
  EXPECT_EQ(t->value("UI").toString(), "U");
  t->skip(-1);
  EXPECT_EQ(id(*t), "10");
  t->skip(-1);
  EXPECT_EQ(id(*t), "9");
  t->skip(-1);
  EXPECT_EQ(id(*t), "3");
  EXPECT_FALSE(t->bof());
  t->skip(-1);
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(id(*t), "3");
  // Soft seek past every key: end-of-file, and a step back reaches the last key.
  EXPECT_FALSE(t->seek("V", true));
  EXPECT_TRUE(t->eof());
  t->skip(-1);
  EXPECT_EQ(t->value("UI").toString(), "U");
  EXPECT_TRUE(t->seek("I" + id20(9)));
  EXPECT_EQ(t->recno(), 1u);
  EXPECT_FALSE(t->seek("I" + id20(8)));
  EXPECT_TRUE(t->eof());
  EXPECT_TRUE(t->seek("I"));
  EXPECT_EQ(id(*t), "3");
}

TEST_F(Tables, DeletedRowStaysHiddenAndAReAddedKeyIsFoundOnce) {
  auto t = invoices({{"I", 1}, {"I", 2}, {"I", 3}});
  ASSERT_TRUE(t->seek("I" + id20(2)));
  ASSERT_TRUE(t->lock());
  t->markDeleted();
  t->unlock();
  EXPECT_FALSE(t->seek("I" + id20(2)));
  ASSERT_TRUE(t->appendBlank());
  t->put("UI", QString("I"));
  t->put("INV_ID", id20(2));
  t->unlock();
  ASSERT_TRUE(t->seek("I" + id20(2)));
  EXPECT_EQ(t->recno(), 4u);
  int seen = 0;
  for (t->top(); !t->eof(); t->skip()) seen += id(*t) == "2";
  EXPECT_EQ(seen, 1);
  t->seek("I" + id20(2));
  t->skip(-1);
  EXPECT_EQ(id(*t), "1");
  t->skip(1);
  EXPECT_EQ(t->recno(), 4u);
}

TEST_F(Tables, WritingInASharedOpenNeedsTheRecordLock) {
  auto t = invoices({{"I", 1}, {"I", 2}});
  t->go(1);
  try {
    t->put("STATUS", QString("Poslato"));
    FAIL() << "unlocked write allowed";
  } catch (const DbfError& e) {
    EXPECT_EQ(e.info().genCode, EG_UNLOCKED);
  }
  ASSERT_TRUE(t->lock());
  t->put("STATUS", QString("Poslato"));
  t->go(2);  // moving writes the buffer
  auto other = Table::open(path("invoice"), false, true);
  other->go(1);
  EXPECT_EQ(other->value("STATUS").toString().trimmed(), "Poslato");
  EXPECT_THROW(other->put("STATUS", QString("x")), DbfError);  // read-only
  ASSERT_TRUE(t->lock());
  EXPECT_FALSE(t->isLocked(1));  // locking one record released the other
}

TEST_F(Tables, KeyChangesMoveTheRecordInTheIndex) {
  auto t = invoices({{"I", 1}, {"I", 2}, {"I", 3}});
  ASSERT_TRUE(t->seek("I" + id20(1)));
  ASSERT_TRUE(t->lock());
  t->put("INV_ID", id20(7));
  t->unlock();
  EXPECT_EQ(id(*t), "7");  // the pointer follows the record
  t->skip(-1);
  EXPECT_EQ(id(*t), "3");
  EXPECT_FALSE(t->seek("I" + id20(1)));
  EXPECT_TRUE(t->seek("I" + id20(7)));
  EXPECT_EQ(t->recno(), 1u);
}

TEST_F(Tables, MemoGrowthAndRewrite) {
  auto t = invoices({{"I", 1}, {"I", 2}});
  const QString fpt = path("invoice.fpt");
  t->go(1);
  ASSERT_TRUE(t->lock());
  t->put("XML", QString("<Invoice>").repeated(20));  // 180 bytes: 3 blocks
  t->unlock();
  const qint64 afterFirst = QFileInfo(fpt).size();
  const QByteArray ref = t->raw(t->fieldPos("XML"));
  ASSERT_TRUE(t->lock());
  t->put("XML", QString("<Račun/>").repeated(10));  // shorter: same blocks
  t->unlock();
  EXPECT_EQ(t->raw(t->fieldPos("XML")), ref);
  EXPECT_EQ(QFileInfo(fpt).size(), afterFirst);
  ASSERT_TRUE(t->lock());
  const QString big = QString("<cac:InvoiceLine>ćž</cac:InvoiceLine>").repeated(300);
  t->put("XML", big);
  t->unlock();
  EXPECT_NE(t->raw(t->fieldPos("XML")), ref);
  EXPECT_GE(QFileInfo(fpt).size(), afterFirst + big.toUtf8().size());
  t->go(2);
  ASSERT_TRUE(t->lock());
  t->put("XML", QString("drugi"));
  t->unlock();
  t->go(1);
  EXPECT_EQ(t->value("XML").toString(), big);
  t->go(2);
  EXPECT_EQ(t->value("XML").toString(), "drugi");
  ASSERT_TRUE(t->lock());
  t->put("XML", QString());
  t->unlock();
  EXPECT_EQ(t->raw(t->fieldPos("XML")), QByteArray(10, ' '));
  const QList<QStringList> rows = dbfreadRecords(path("invoice.dbf"));
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0][10], big);
  EXPECT_EQ(rows[1][10], "");
}

TEST_F(Tables, ManyLevelIndexAgreesWithTheReaders) {
  Table::create(path("big"), kInvoice);
  auto t = Table::open(path("big"), true);
  t->buildTag("INVOICE", "UI+INV_ID");
  t->buildTag("KOMIT", "KOMITENT");
  // Keys arrive out of order, so pages split everywhere, not only at the end.
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(t->appendBlank());
    const int id = (i * 7919) % 3001;
    t->put("UI", QString(i % 3 ? "I" : "U"));
    t->put("INV_ID", id20(id));
    t->put("KOMITENT", QString("Firma %1 d.o.o. Šabac").arg(id % 97));
  }
  for (int r = 1; r <= 3000; r += 7) {  // key changes remove entries from inner pages
    t->go(uint32_t(r));
    t->put("INV_ID", id20(100000 + r));
  }
  t->commit();
  // Rebuilding over the same records gives the same order.
  const auto before = engineTag(*t, 1);
  EXPECT_EQ(before.size(), 3000);
  EXPECT_EQ(before, indexDump(path("big.cdx"), "INVOICE"));
  EXPECT_EQ(engineTag(*t, 2), indexDump(path("big.cdx"), "KOMIT"));
  t->buildTag("INVOICE", "UI+INV_ID");
  EXPECT_EQ(engineTag(*t, 1), before);
  EXPECT_EQ(engineTag(*t, 1), indexDump(path("big.cdx"), "INVOICE"));
  EXPECT_EQ(dbfreadRecords(path("big.dbf")).size(), 3000);
}

TEST_F(Tables, AppendFromCopiesVisibleRecordsByName) {
  auto src = invoices({{"I", 1}, {"I", 2}, {"U", 3}});
  src->go(2);
  ASSERT_TRUE(src->lock());
  src->put("XML", QString("<x>ž</x>"));
  src->put("IZNOS", 12.5);
  src->put("DATIZD", QDate(2022, 1, 31));
  src->go(3);
  ASSERT_TRUE(src->lock());
  src->markDeleted();
  src->close();
  Table::create(path("tmp"), {{"INV_ID", 'C', 5, 0}, {"UI", 'C', 1, 0}, {"XML", 'M', 10, 0},
                              {"IZNOS", 'N', 10, 3}, {"DATIZD", 'D', 8, 0}, {"NOVO", 'C', 3, 0}});
  auto t = Table::open(path("tmp"), true);
  EXPECT_EQ(t->appendFrom(path("invoice")), 2);
  t->go(2);
  EXPECT_EQ(t->value("INV_ID").toString(), "     ");  // the first 5 of 20 right-aligned bytes
  EXPECT_EQ(t->value("XML").toString(), "<x>ž</x>");
  EXPECT_EQ(t->raw(4), "    12.500");
  EXPECT_EQ(t->value("DATIZD").toDate(), QDate(2022, 1, 31));
  EXPECT_EQ(t->value("NOVO").toString(), "   ");
  EXPECT_EQ(t->recCount(), 2u);
}

TEST_F(Tables, BuildTagNeedsTheTableAloneAndACharacterKey) {
  auto t = invoices({{"I", 1}});
  EXPECT_THROW(t->buildTag("X", "UI"), DbfError);  // shared open
  t->close();
  auto e = Table::open(path("invoice"), true);
  EXPECT_THROW(e->buildTag("X", "IZNOS"), DbfError);
  EXPECT_THROW(e->buildTag("X", "UPPER(UI)"), DbfError);
  EXPECT_THROW(e->buildTag("ELEVENCHARS", "UI"), DbfError);
  EXPECT_EQ(e->tagCount(), 1);
  EXPECT_THROW(e->setOrder(2), DbfError);
  e->setOrder(0);
  EXPECT_THROW(e->seek("I"), DbfError);
}

TEST_F(Tables, CreatedTablesPassTheReaders) {
  auto t = invoices({{"I", 42}, {"U", 7}});
  t->go(1);
  ASSERT_TRUE(t->lock());
  t->put("BRDOK", QString("F-1/2022 Šđčćž"));
  t->put("IZNOS", -1234.5);
  t->put("DATIZD", QDate(2022, 12, 14));
  t->put("XML", QString("<Invoice/>"));
  t->unlock();
  const QList<QStringList> rows = dbfreadRecords(path("invoice.dbf"));
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0][0], "I");
  EXPECT_EQ(rows[0][1], id20(42));
  EXPECT_EQ(rows[0][2], "F-1/2022 Šđčćž");
  EXPECT_EQ(rows[0][6], "-1234.5");
  EXPECT_EQ(rows[0][8], "20221214");
  EXPECT_EQ(rows[0][10], "<Invoice/>");
  const QList<QStringList> dumped = dbfDumpRecords(path("invoice.dbf"));
  ASSERT_EQ(dumped.size(), 2);
  EXPECT_EQ(dumped[0][2], "F-1/2022 Šđčćž");
  EXPECT_EQ(dumped[0][10], "<Invoice/>");
  EXPECT_EQ(indexDump(path("invoice.cdx"), "INVOICE"),
            (QList<QPair<QString, uint32_t>>{{"I" + id20(42), 1}, {"U" + id20(7), 2}}));
  const ToolResult pg = runTool("pgdbf", {"-m", path("invoice.fpt"), path("invoice.dbf")});
  EXPECT_EQ(pg.exitCode, 0) << pg.err.toStdString();
  EXPECT_TRUE(pg.out.contains("F-1/2022 Šđčćž")) << pg.out.left(2000).toStdString();
  EXPECT_TRUE(pg.out.contains("<Invoice/>"));
  EXPECT_TRUE(pg.out.contains("-1234.50"));
}

}  // namespace

// Damaged memo files: each fault is refused with the engine's error, the
// memo file keeps its size and the memo already written reads as before.
TEST_F(Tables, DamagedMemoFilesAreRefusedAndLeftAsTheyWere) {
  struct Case {
    const char* what;
    qint64 offset;     // 0 = the header's next free block; else the first memo's length field
    QByteArray bytes;  // big-endian value written there
    bool failsOnRead;
  };
  const Case cases[] = {
      {"next free block 0xFFFFFFFF", 0, QByteArray::fromHex("FFFFFFFF"), false},
      {"next free block past the end", 0, QByteArray::fromHex("00001000"), false},
      {"memo length 2^31", -1, QByteArray::fromHex("80000000"), true},
      {"memo length 2^31 - 1", -1, QByteArray::fromHex("7FFFFFFF"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(path("")).removeRecursively();
    QDir().mkpath(path(""));
    {
      auto t = invoices({{"I", 1}, {"I", 2}});
      t->go(1);
      ASSERT_TRUE(t->lock());
      t->put("XML", QString("prvi"));
      t->unlock();
    }
    const QString fpt = path("invoice.fpt");
    {
      auto t = Table::open(path("invoice"), false);
      t->go(1);
      const uint32_t block = memoRefBlock(reinterpret_cast<const uint8_t*>(t->raw(t->fieldPos("XML")).constData()), t->field(t->fieldPos("XML")).len);
      QFile f(fpt);
      ASSERT_TRUE(f.open(QIODevice::ReadWrite));
      f.seek(c.offset == 0 ? 0 : qint64(block) * kMemoBlockSize + 4);
      f.write(c.bytes);
    }
    const qint64 before = QFileInfo(fpt).size();
    auto t = Table::open(path("invoice"), false);
    t->go(1);
    if (c.failsOnRead) {
      EXPECT_THROW(t->value("XML"), DbfError);
    } else {
      EXPECT_EQ(t->value("XML").toString(), "prvi");
      t->go(2);
      ASSERT_TRUE(t->lock());
      EXPECT_THROW(
          {
            t->put("XML", QString("drugi"));
            t->unlock();
          },
          DbfError);
      t.reset();
      auto again = Table::open(path("invoice"), false);
      again->go(1);
      EXPECT_EQ(again->value("XML").toString(), "prvi");
    }
    EXPECT_EQ(QFileInfo(fpt).size(), before);
  }
}
