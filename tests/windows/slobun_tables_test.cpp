// The buyer and article tables on real files in a program folder of their
// own, checked with the Debian readers; a record held by another process.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/dbf/dbftest.h"
#include "common/dbf/workarea.h"
#include "common/libdbf.h"
#include "common/presenter.h"
#include "support/programfolder.h"
#include "support/scriptedpresenter.h"
#include "windows/slobun_tables.h"

using namespace korvan;
using dbf::test::dbfDumpRecords;
using dbf::test::indexDump;

namespace {

class SlobunTables : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setLibdbfDelay([](double) {});
  }
  void TearDown() override {
    dbf::closeAllAreas();
    setLibdbfDelay({});
  }
  QString file(const QString& name) const { return GETAPPPATH() + "BAZE/" + name; }

  // Saves with the table opened and closed around it, as the window does.
  static SlogIshod save(const SlobunKupac& k) {
    bool opened = false;
    EXPECT_TRUE(OTVORI_KOMIT_TABELU(opened));
    const SlogIshod r = UPISI_KOMIT(k, 1);
    ZATVORI_AKO("KOMIT", opened);
    return r;
  }
  static SlogIshod save(const SlobunArtikal& a) {
    bool opened = false;
    EXPECT_TRUE(OTVORI_ART_TABELU(opened));
    const SlogIshod r = UPISI_ARTIKAL(a, 1);
    ZATVORI_AKO("ART", opened);
    return r;
  }

  test::TempProgramFolder dir;
  ScriptedPresenter boxes;
};

TEST_F(SlobunTables, TablesAreMadeWithTheirStructuresAndTags) {
  bool opened = false;
  ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
  EXPECT_TRUE(opened);
  EXPECT_EQ(dbf::area("KOMIT")->structure(), KOMIT_STRUKTURA());
  // Nested use: the inner call neither reopens nor may close it.
  bool inner = true;
  ASSERT_TRUE(OTVORI_KOMIT_TABELU(inner));
  EXPECT_FALSE(inner);
  ZATVORI_AKO("KOMIT", inner);
  EXPECT_TRUE(dbf::isUsed("KOMIT"));
  ZATVORI_AKO("KOMIT", opened);
  EXPECT_FALSE(dbf::isUsed("KOMIT"));

  ASSERT_TRUE(OTVORI_ART_TABELU(opened));
  dbf::Table* art = dbf::area("ART");
  ASSERT_NE(art, nullptr);
  EXPECT_EQ(art->structure(), ART_STRUKTURA());
  ASSERT_EQ(art->tagCount(), 3);
  EXPECT_EQ(art->tagName(1), "ART");
  EXPECT_EQ(art->tagName(2), "ART2");
  EXPECT_EQ(art->tagName(3), "ART3");
  EXPECT_EQ(art->tagExpression(3), "NAZIV");
  ZATVORI_AKO("ART", opened);
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
}

TEST_F(SlobunTables, ABuyerIsKeptByItsPib) {
  SlobunKupac k{.naziv = "Kupac d.o.o.", .pib = "101234567", .mesto = "Beograd", .adresa = "Ulica 1",
                .postBroj = "11000", .email = "a@b.rs", .matbroj = "12345678", .jbkjs = "", .ugovor = "U-1"};
  EXPECT_EQ(save(k), SlogIshod::Upisan);
  EXPECT_EQ(save(SlobunKupac{.naziv = "Drugi", .pib = "109999999"}), SlogIshod::Upisan);
  // The same PIB again: overwritten, an emptied field empties the stored one.
  k.email.clear();
  k.ugovor = "U-2";
  k.naziv = QString::fromUtf8("Kupac Šabac");
  EXPECT_EQ(save(k), SlogIshod::Upisan);

  const QString dbfFile = QDir(GETAPPPATH() + "BAZE").entryInfoList({"KOMIT.dbf", "KOMIT.DBF"}).value(0).filePath();
  ASSERT_FALSE(dbfFile.isEmpty());
  const QList<QStringList> rows = dbfDumpRecords(dbfFile);
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0], (QStringList{"101234567", QString::fromUtf8("Kupac Šabac"), "Ulica 1", "Beograd", "11000", "",
                                  "12345678", "", "U-2"}));
  const QString cdx = QFileInfo(dbfFile).path() + "/" + QFileInfo(dbfFile).completeBaseName() + ".cdx";
  const auto keys = indexDump(QFileInfo::exists(cdx) ? cdx : cdx.chopped(3) + "CDX", "KOMIT");
  ASSERT_EQ(keys.size(), 2);
  EXPECT_EQ(keys[0], (QPair<QString, uint32_t>{"101234567", 1}));
  EXPECT_EQ(keys[1], (QPair<QString, uint32_t>{"109999999", 2}));

  // A PIB that only begins like a stored one is another buyer.
  EXPECT_EQ(save(SlobunKupac{.naziv = "Kratki", .pib = "10123"}), SlogIshod::Upisan);
  bool opened = false;
  ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
  const QList<SlobunKupac> all = SVI_KOMITENTI();
  ZATVORI_AKO("KOMIT", opened);
  ASSERT_EQ(all.size(), 3);
  EXPECT_EQ(all[0].naziv, QString::fromUtf8("Kupac Šabac"));
  EXPECT_EQ(all[0].ugovor, "U-2");
  EXPECT_EQ(all[2].pib, "10123");
}

TEST_F(SlobunTables, ArticlesAreFoundByCodeThenBarcodeThenName) {
  ASSERT_EQ(save(SlobunArtikal{"A1", "860001", "Stari naziv", "kom", 20, 5}), SlogIshod::Upisan);
  ASSERT_EQ(save(SlobunArtikal{"A2", "860002", "Kafa", "kg", 10, 7.5}), SlogIshod::Upisan);
  ASSERT_EQ(save(SlobunArtikal{"B7", "860003", "Voda", "l", 20, 1}), SlogIshod::Upisan);

  struct Case {
    const char* name;
    SlobunArtikal row;
    int record;  // the record it lands in
  };
  const Case cases[] = {
      {"code hit, other name and price", {"A1", "", "Novi naziv", "kom", 20, 6.25}, 1},
      {"name hit empties code and barcode", {"", "", "Kafa", "kg", 10, 8}, 2},
      {"barcode hit", {"", "860003", "Voda 0,5", "l", 20, 1.2}, 3},
      {"unknown code, barcode and name append", {"Z9", "", "Čaj", "kg", 10, 8}, 4},
      {"empty keys append", {"", "", "", "", 20, 3}, 5},
      {"empty keys append again", {"", "", "", "", 20, 3}, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(save(c.row), SlogIshod::Upisan);
  }
  const QString dbfFile = QDir(GETAPPPATH() + "BAZE").entryInfoList({"ART.dbf", "ART.DBF"}).value(0).filePath();
  const QList<QStringList> rows = dbfDumpRecords(dbfFile);
  ASSERT_EQ(rows.size(), 6);
  EXPECT_EQ(rows[0].mid(0, 4), (QStringList{"A1", "", "Novi naziv", "kom"}));
  EXPECT_DOUBLE_EQ(rows[0][5].toDouble(), 6.25);
  EXPECT_EQ(rows[1].mid(0, 3), (QStringList{"", "", "Kafa"}));
  EXPECT_EQ(rows[2].mid(0, 3), (QStringList{"", "860003", "Voda 0,5"}));
  EXPECT_EQ(rows[3][0], "Z9");
  EXPECT_EQ(rows[4].mid(0, 3), (QStringList{"", "", ""}));
  EXPECT_EQ(rows[5].mid(0, 3), (QStringList{"", "", ""}));

  // The name tag follows the overwrites.
  const QString cdx = QFileInfo(dbfFile).path() + "/" + QFileInfo(dbfFile).completeBaseName() +
                      (dbfFile.endsWith(".DBF") ? ".CDX" : ".cdx");
  const auto names = indexDump(cdx, "ART3");
  QStringList order;
  for (const auto& [key, rec] : names) order << key + "#" + QString::number(rec);
  EXPECT_EQ(order, (QStringList{"#5", "#6", "Kafa#2", "Novi naziv#1", "Voda 0,5#3", "Čaj#4"}));
}

TEST_F(SlobunTables, ReadingStopsWhenAskedAndLongTextsAreCutWhole) {
  // 79 letters and a two-byte letter: 81 bytes, cut before the letter.
  const QString longName = QString(79, 'a') + QString::fromUtf8("š");
  ASSERT_EQ(save(SlobunKupac{.naziv = longName, .pib = "1"}), SlogIshod::Upisan);
  ASSERT_EQ(save(SlobunKupac{.naziv = "B", .pib = "2"}), SlogIshod::Upisan);
  ASSERT_EQ(save(SlobunKupac{.naziv = "C", .pib = "3"}), SlogIshod::Upisan);
  bool opened = false;
  ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
  QList<std::pair<int, int>> seen;
  const QList<SlobunKupac> two = SVI_KOMITENTI([&seen](int read, int count) {
    seen.append({read, count});
    return read < 2;
  });
  EXPECT_EQ(two.size(), 2);
  EXPECT_EQ(seen, (QList<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));
  EXPECT_EQ(two[0].naziv, QString(79, 'a'));
  ZATVORI_AKO("KOMIT", opened);
}

// The other process: holds record REC of KOMIT until the file STOP appears.
TEST(SlobunTablesChild, DISABLED_HoldRecord) {
  SET_APPPATH(qEnvironmentVariable("APP"));
  std::unique_ptr<dbf::Table> t = dbf::Table::open(GETAPPPATH() + "BAZE/KOMIT", false);
  ASSERT_NE(t, nullptr);
  t->go(1);
  ASSERT_TRUE(t->lock());
  QFile ready(qEnvironmentVariable("READY"));
  ASSERT_TRUE(ready.open(QIODevice::WriteOnly));
  ready.close();
  for (int i = 0; i < 6000 && !QFileInfo::exists(qEnvironmentVariable("STOP")); ++i) QThread::msleep(10);
  t->close();
}

TEST_F(SlobunTables, ABuyerLockedByAnotherProcessIsNotWritten) {
  ASSERT_EQ(save(SlobunKupac{.naziv = "Prvi", .pib = "100"}), SlogIshod::Upisan);
  const QString ready = dir.filePath("ready"), stop = dir.filePath("stop");
  const qint64 child = dbf::test::startChild("SlobunTablesChild.DISABLED_HoldRecord",
                                             {"APP=" + GETAPPPATH(), "READY=" + ready, "STOP=" + stop});
  for (int i = 0; i < 3000 && !QFileInfo::exists(ready); ++i) QThread::msleep(10);
  ASSERT_TRUE(QFileInfo::exists(ready)) << "the other process did not lock the record";

  EXPECT_EQ(save(SlobunKupac{.naziv = "Izmenjen", .pib = "100"}), SlogIshod::Zakljucan);
  // Another buyer is still appended beside the held record.
  EXPECT_EQ(save(SlobunKupac{.naziv = "Novi", .pib = "200"}), SlogIshod::Upisan);

  QFile(stop).open(QIODevice::WriteOnly);
  EXPECT_EQ(dbf::test::waitChild(child), 0);
  bool opened = false;
  ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
  const QList<SlobunKupac> all = SVI_KOMITENTI();
  ZATVORI_AKO("KOMIT", opened);
  ASSERT_EQ(all.size(), 2);
  EXPECT_EQ(all[0].naziv, "Prvi");
  EXPECT_EQ(all[1].naziv, "Novi");
}

}  // namespace
