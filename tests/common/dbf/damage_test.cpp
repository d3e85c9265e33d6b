// Damaged index files: broken page links end an ordered walk with the
// engine's error in bounded time, and the records still read in record order.
#include "common/dbf/cdx.h"
#include "common/dbf/dbferror.h"
#include "common/dbf/table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using namespace korvan::dbf;

namespace {

const Structure kRows = {{"KEY", 'C', 20, 0}, {"NAME", 'C', 30, 0}};

// Page header of a compound index: attributes, count, left and right links.
struct PageHead {
  uint16_t attr = 0, count = 0;
  uint32_t left = 0, right = 0;
};

struct Damage : ::testing::Test {
  QTemporaryDir dir;
  QString base() const { return dir.path() + "/rows"; }
  QString cdx() const { return base() + ".cdx"; }

  void SetUp() override {
    Table::create(base(), kRows);
    auto t = Table::open(base(), true);
    t->buildTag("KEY", "KEY");
    for (int i = 1; i <= 700; ++i) {
      ASSERT_TRUE(t->appendBlank());
      t->put("KEY", QString("K%1").arg(i, 6, 10, QChar('0')));
      t->put("NAME", QString("Ime %1").arg(i));
    }
  }

  TagInfo tag() {
    CdxFile c;
    c.open(cdx(), false, nullptr, true);
    const QList<TagInfo> tags = c.tags();
    EXPECT_EQ(tags.size(), 1);
    return tags.value(0);
  }
  QByteArray bytes(qint64 off, int len) {
    QFile f(cdx());
    f.open(QIODevice::ReadOnly);
    f.seek(off);
    return f.read(len);
  }
  void patch(qint64 off, uint32_t v, bool bigEndian = false) {
    uchar b[4];
    bigEndian ? qToBigEndian(v, b) : qToLittleEndian(v, b);
    QFile f(cdx());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(off);
    f.write(reinterpret_cast<const char*>(b), 4);
  }
  PageHead head(qint64 off) {
    const QByteArray b = bytes(off, 12);
    const auto* p = reinterpret_cast<const uchar*>(b.constData());
    return {qFromLittleEndian<uint16_t>(p), qFromLittleEndian<uint16_t>(p + 2), qFromLittleEndian<uint32_t>(p + 4),
            qFromLittleEndian<uint32_t>(p + 8)};
  }
  // Child page i of an interior page (entries: key, record, child; big-endian).
  uint32_t child(qint64 page, int keyLen, int i) {
    const qint64 at = page + 12 + qint64(i) * (keyLen + 8) + keyLen + 4;
    return qFromBigEndian<uint32_t>(reinterpret_cast<const uchar*>(bytes(at, 4).constData()));
  }
  qint64 childLink(qint64 page, int keyLen, int i) { return page + 12 + qint64(i) * (keyLen + 8) + keyLen + 4; }

  // Walks the tag forward and back; both must fail with the engine's error.
  void expectOrderedWalksFail() {
    for (int dir : {1, -1}) {
      SCOPED_TRACE(dir);
      EXPECT_THROW(
          {
            auto t = Table::open(base(), false);
            t->setOrder(1);
            dir > 0 ? t->top() : t->bottom();
            for (int n = 0; n < 2000 && !(dir > 0 ? t->eof() : t->bof()); ++n) t->skip(dir);
            ADD_FAILURE() << "walk ended without an error";
          },
          DbfError);
    }
    auto t = Table::open(base(), false);
    t->setOrder(0);
    t->go(700);
    EXPECT_EQ(t->value("NAME").toString().trimmed(), "Ime 700");
  }
};

TEST_F(Damage, TheIndexUnderTestHasInteriorAndLeafPages) {
  const TagInfo t = tag();
  const PageHead root = head(t.root);
  ASSERT_EQ(root.attr & 2, 0) << "root is a leaf; the cases below need two levels";
  ASSERT_GE(root.count, 2);
  const uint32_t a = child(t.root, t.keyLen, 0), b = child(t.root, t.keyLen, 1);
  EXPECT_EQ(head(a).right, b);
  EXPECT_EQ(head(b).left, a);
}

TEST_F(Damage, LeafLinkedToItselfEndsTheWalk) {
  const TagInfo t = tag();
  const uint32_t a = child(t.root, t.keyLen, 0);
  patch(a + 8, a);
  expectOrderedWalksFail();
}

TEST_F(Damage, TwoLeavesLinkedInACircleEndTheWalk) {
  // Both directions agree with each other, so only the key order shows the loop.
  const TagInfo t = tag();
  const uint32_t a = child(t.root, t.keyLen, 0), b = child(t.root, t.keyLen, 1);
  patch(b + 8, a);
  patch(a + 4, b);
  expectOrderedWalksFail();
}

TEST_F(Damage, LinksOutsideTheFileOrOffThePageGridEndTheWalk) {
  const TagInfo t = tag();
  const uint32_t a = child(t.root, t.keyLen, 0);
  for (uint32_t bad : {0x7FFFFE00u, uint32_t(a + 100)}) {
    SCOPED_TRACE(bad);
    const QByteArray keep = bytes(a + 8, 4);
    patch(a + 8, bad);
    expectOrderedWalksFail();
    QFile f(cdx());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(a + 8);
    f.write(keep);
  }
}

TEST_F(Damage, InteriorPageThatIsItsOwnChildIsRefused) {
  const TagInfo t = tag();
  patch(childLink(t.root, t.keyLen, 0), uint32_t(t.root), true);
  auto tb = Table::open(base(), false);
  tb->setOrder(1);
  EXPECT_THROW(tb->top(), DbfError);
  EXPECT_THROW(tb->seek("K000001"), DbfError);
}

TEST_F(Damage, TagDirectoryLinkedToItselfIsRefusedBeforeAnyWrite) {
  const uint32_t dirRoot = qFromLittleEndian<uint32_t>(reinterpret_cast<const uchar*>(bytes(0, 4).constData()));
  patch(dirRoot + 8, dirRoot);
  const QByteArray before = bytes(0, int(QFile(cdx()).size()));
  QFile dbf(base() + ".dbf");
  const qint64 dbfSize = dbf.size();
  EXPECT_THROW(
      {
        auto tb = Table::open(base(), true);
        tb->appendBlank();
        tb->put("KEY", QString("NOVI"));
      },
      DbfError);
  EXPECT_EQ(bytes(0, int(QFile(cdx()).size())), before);
  EXPECT_EQ(dbf.size(), dbfSize);
}

}  // namespace

namespace {

// Damaged table headers: the open fails with the engine's error, or (a record
// count beyond the file) reads only what the file holds.
TEST(DamagedHeader, LengthsThatDoNotFitTheFileAreRefused) {
  struct Case {
    const char* what;
    int offset;
    QByteArray bytes;  // little-endian value written there
  };
  const Case cases[] = {
      {"record length 0", 10, QByteArray::fromHex("0000")},
      {"record length 65535", 10, QByteArray::fromHex("FFFF")},
      {"record length one byte short", 10, QByteArray::fromHex("32")},
      {"header length past the file", 8, QByteArray::fromHex("FFFF")},
      {"header length without fields", 8, QByteArray::fromHex("2000")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    const QString base = dir.path() + "/rows";
    Table::create(base, kRows);
    {
      auto t = Table::open(base, true);
      ASSERT_TRUE(t->appendBlank());
      t->put("KEY", QString("A"));
    }
    QFile f(base + ".dbf");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(c.offset);
    f.write(c.bytes);
    f.close();
    EXPECT_THROW(Table::open(base, false), DbfError);
  }
}

TEST(DamagedHeader, RecordCountBeyondTheFileReadsWhatTheFileHolds) {
  QTemporaryDir dir;
  const QString base = dir.path() + "/rows";
  Table::create(base, kRows);
  {
    auto t = Table::open(base, true);
    for (const char* k : {"A", "B"}) {
      ASSERT_TRUE(t->appendBlank());
      t->put("KEY", QString(k));
    }
  }
  QFile f(base + ".dbf");
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  f.seek(4);
  f.write(QByteArray::fromHex("FFFFFF7F"));
  f.close();
  auto t = Table::open(base, false);
  EXPECT_EQ(t->recCount(), 2u);
  t->go(2);
  EXPECT_EQ(t->value("KEY").toString().trimmed(), "B");
}

}  // namespace
