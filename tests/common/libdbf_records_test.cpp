// The record helpers: temporary tables, scatter and gather, copying by name,
// orders, deleting with a move, and moving while a condition holds.
#include "libdbf_fixture.h"

using namespace korvan;
using namespace korvan::libdbftest;

namespace {

class Records : public LibdbfTest {
 protected:
  // ART with codes S1..S6 in record order; names in reverse order.
  void articles() {
    ASSERT_TRUE(OTVORI(baze("ART"), false, "ARTIKALA", "ART", kArtIdx, kArt));
    for (int i = 1; i <= 6; ++i) {
      ASSERT_TRUE(ADD_REC(4));
      dbf::current().put("SIFRA", QString("S%1").arg(i));
      dbf::current().put("NAZIV", QString("Naziv %1").arg(7 - i));
      dbf::current().put("STOPA", i <= 3 ? 20.0 : 10.0);
    }
    dbf::current().unlock();
    dbf::current().setOrder(0);
  }
  static QString code() { return dbf::current().value("SIFRA").toString().trimmed(); }
};

TEST_F(Records, TemporaryTablesTakeTheFirstFreeNumberAndAreRemovedOnClose) {
  ASSERT_TRUE(OTVORI(baze("FALS"), false, "FALS", "FALS", kFalsIdx, kFals));
  QDir().mkpath(tmpFolder());
  touch(tmpFolder() + "/TEMP000.DBF");  // taken
  touch(tmpFolder() + "/temp001.cdx");  // a leftover of a free name
  const QString first = CREATE_TMP({{"A", 'C', 5, 0}, {"M", 'M', 10, 0}});
  EXPECT_EQ(first, tmpFolder() + "/TEMP001");
  EXPECT_EQ(dbf::currentAlias(), "FALS");  // the previous area stays current
  ASSERT_TRUE(dbf::area("TMP"));
  EXPECT_TRUE(dbf::area("TMP")->exclusive());
  EXPECT_EQ(dbf::area("TMP")->tagCount(), 0);
  EXPECT_FALSE(QFileInfo::exists(tmpFolder() + "/temp001.cdx"));
  const QString second = CREATE_TMP({{"B", 'N', 5, 0}}, "T2");
  EXPECT_EQ(second, tmpFolder() + "/TEMP002");

  CREATE_NTX("A", "TMP\\POA");
  EXPECT_EQ(dbf::currentAlias(), "FALS");
  EXPECT_EQ(dbf::area("TMP")->tagName(1), "POA");

  CLOSE_TMP(first);
  CLOSE_TMP(second, "T2", true);  // kept
  EXPECT_FALSE(dbf::isUsed("TMP"));
  EXPECT_EQ(filesIn(tmpFolder()), QStringList({"TEMP000.DBF", "TEMP002.dbf"}));
  // With "TEST.!!!" the files stay for a look.
  touch(app() + "TEST.!!!");
  const QString third = CREATE_TMP({{"A", 'C', 5, 0}});
  EXPECT_EQ(third, tmpFolder() + "/TEMP001");
  CLOSE_TMP(third);
  EXPECT_TRUE(QFileInfo::exists(third + ".dbf"));
}

TEST_F(Records, ScatterGatherAndCopyingByName) {
  articles();
  dbf::current().go(2);
  const QVariantList values = SCATTER();
  ASSERT_EQ(values.size(), kArt.size());
  EXPECT_EQ(values[0].toString().trimmed(), "S2");
  EXPECT_EQ(values[4].toDouble(), 20.0);
  dbf::current().go(5);
  ASSERT_TRUE(REC_LOCK(4));
  GATHER(values);
  dbf::current().unlock();
  EXPECT_EQ(code(), "S2");
  EXPECT_EQ(dbf::current().value("NAZIV").toString().trimmed(), "Naziv 5");

  ASSERT_TRUE(OTVORI(baze("KOMIT"), false, "KOMITENATA", "KOMIT", kKomitIdx, {{"PIB", 'C', 20, 0}, {"NAZIV", 'C', 10, 0}, {"SIFRA", 'C', 3, 0}}));
  ASSERT_TRUE(ADD_REC(4));
  dbf::selectArea("ART");
  dbf::current().go(1);
  EXPECT_FALSE(IZ_U("ART", "KOMIT"));
  dbf::Table& k = *dbf::area("KOMIT");
  EXPECT_EQ(k.value("NAZIV").toString(), "Naziv 6   ");  // cut to the target's width
  EXPECT_EQ(k.value("SIFRA").toString(), "S1 ");
  EXPECT_EQ(k.value("PIB").toString().trimmed(), "");
}

TEST_F(Records, OrderSetReturnsThePreviousOne) {
  articles();
  EXPECT_EQ(ORDSETFOC2(3), 0);
  dbf::current().top();
  EXPECT_EQ(code(), "S6");  // "Naziv 1"
  EXPECT_EQ(ORDSETFOC2(1), 3);
  EXPECT_EQ(dbf::current().order(), 1);
}

TEST_F(Records, DeleteSkipMovesToTheNextOrPreviousRowThatQualifies) {
  articles();
  const auto high = [] { return dbf::current().value("STOPA").toDouble() == 20.0; };
  dbf::current().go(2);
  ASSERT_TRUE(REC_LOCK(4));
  EXPECT_FALSE(DELETE_SKIP(high));
  EXPECT_EQ(code(), "S3");  // the next one with 20
  ASSERT_TRUE(REC_LOCK(4));
  EXPECT_FALSE(DELETE_SKIP(high));
  EXPECT_EQ(code(), "S1");  // none after it: the previous one
  ASSERT_TRUE(REC_LOCK(4));
  // None left: to the top, or to the key when one is given.
  EXPECT_TRUE(DELETE_SKIP(high));
  EXPECT_EQ(code(), "S4");
  dbf::current().setOrder(1);
  dbf::current().go(4);
  ASSERT_TRUE(REC_LOCK(4));
  EXPECT_TRUE(DELETE_SKIP(high, QString("S6")));
  EXPECT_EQ(code(), "S6");
  ASSERT_TRUE(REC_LOCK(4));
  EXPECT_FALSE(DELETE_SKIP());
  EXPECT_EQ(code(), "S5");  // no condition: simply the previous one at the end
  EXPECT_EQ(dbf::current().recCount(), 6u);  // marked, never packed
}

TEST_F(Records, SkociCountsTheRowsMovedWhileTheConditionHolds) {
  articles();
  const auto high = [] { return dbf::current().value("STOPA").toDouble() == 20.0; };
  const auto any = [] { return true; };
  dbf::current().go(1);
  EXPECT_EQ(SKOCI(5, high), 2);  // S2, S3; S4 is outside and not counted
  EXPECT_EQ(code(), "S3");
  EXPECT_EQ(SKOCI(-5, high), 2);
  EXPECT_EQ(code(), "S1");  // the beginning: to the top
  EXPECT_EQ(SKOCI(2, any), 2);
  EXPECT_EQ(code(), "S3");
  EXPECT_EQ(SKOCI(10, any), 3);  // the end: back on the last row
  EXPECT_EQ(code(), "S6");
  // Standing on a deleted row, the move starts from the one before it.
  dbf::current().go(4);
  ASSERT_TRUE(REC_LOCK(4));
  dbf::current().markDeleted();
  dbf::current().unlock();
  dbf::current().go(4);
  EXPECT_EQ(SKOCI(1, any), 1);
  EXPECT_EQ(code(), "S5");
}

}  // namespace
