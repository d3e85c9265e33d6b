// Rows from downloaded headers, the existence tests and the FALS list.
#include "efmdb_fixture.h"

#include "common/dbf/fileio.h"
#include "common/msg.h"

#include <QDir>
#include <functional>

using namespace korvan;
using namespace korvan::efmdbtest;

namespace {

const QStringList kHeaderFields = {"UI",     "INV_ID",  "BRDOK",  "TIPDOK",  "STATUS", "KOMITENT",
                                   "IZNOS",  "DATPROM", "DATIZD", "DATDOSP", "XML"};

EfmZaglavlje header(qint64 id) {
  EfmZaglavlje h(ZAG_BROJ);
  h[ZAG_ID] = id;
  h[ZAG_DATPROM] = QDate(2022, 12, 13);
  h[ZAG_BRDOK] = "R-15/2022";
  h[ZAG_DATIZD] = QDate(2022, 12, 14);
  h[ZAG_TIPDOK] = u8("Račun");
  h[ZAG_IZNOS] = 100.0;
  h[ZAG_KOMITENT] = u8("Dobavljač Niš");
  h[ZAG_DATDOSP] = QDate();
  h[ZAG_XML] = u8("<env><Invoice>Đ</Invoice></env>");
  h[ZAG_STATUS] = "Poslato";
  return h;
}

const QString k39 = QString(39, 'A');

TEST_F(Store, AHeaderAddsOrChangesTheRowAndMarksTheChangeList) {
  struct Case {
    const char* name;
    std::function<void(EfmZaglavlje&)> stored;  // the row as stored first (none: a new id)
    std::function<void(EfmZaglavlje&)> change;  // then the header downloaded again
    EfmPromene before, after;                   // the change list of the run
    const char* amount = "100.00";              // IZNOS as stored afterwards
  };
  const auto same = [](EfmZaglavlje&) {};
  const auto set = [](int pos, QVariant v) { return [pos, v](EfmZaglavlje& h) { h[pos] = v; }; };
  const QList<Case> cases = {
      {"identical", same, same, {}, {}},
      {"new id", nullptr, same, {}, {{77, EFM_DODAT}}},
      {"new id already in the list", nullptr, same, {{77, EFM_IZMENJEN}}, {{77, EFM_IZMENJEN}}},
      {"changed status", same, set(ZAG_STATUS, u8("Viđeno")), {{5, EFM_DODAT}}, {{5, EFM_DODAT}, {77, EFM_IZMENJEN}}},
      {"changed after added in this run", same, set(ZAG_STATUS, "Odbijeno"), {{77, EFM_DODAT}}, {{77, EFM_DODAT}}},
      {"changed amount", same, set(ZAG_IZNOS, 100.01), {}, {{77, EFM_IZMENJEN}}, "100.01"},
      {"100.00 and 100.00005", same, set(ZAG_IZNOS, 100.00005), {}, {}},
      {"100.00 and 100.004 (stored with two decimals)", same, set(ZAG_IZNOS, 100.004), {}, {}},
      {"100.00 and 100.005 (rounds up)", same, set(ZAG_IZNOS, 100.005), {}, {{77, EFM_IZMENJEN}}, "100.01"},
      {"45-character partner, first 40 as stored", set(ZAG_KOMITENT, k39 + "B"), set(ZAG_KOMITENT, k39 + "BCDEF"),
       {}, {}},
      {"45-character partner stored and downloaded again", set(ZAG_KOMITENT, k39 + "BCDEF"), same, {}, {}},
      {"partner cut inside a letter", set(ZAG_KOMITENT, k39 + u8("Šabac")), same, {}, {}},
      {"partner changed within 40", same, set(ZAG_KOMITENT, u8("Dobavljač Novi Sad")), {}, {{77, EFM_IZMENJEN}}},
      {"31-character number", set(ZAG_BRDOK, QString(31, '7')), same, {}, {}},
      {"number with trailing blanks", same, set(ZAG_BRDOK, "R-15/2022   "), {}, {}},
      {"type of exactly ten bytes", set(ZAG_TIPDOK, u8("Zaduženje")), same, {}, {}},
      {"type longer than the field", set(ZAG_TIPDOK, u8("Knjižno odobrenje")), same, {}, {}},
      {"changed type", same, set(ZAG_TIPDOK, "Avans"), {}, {{77, EFM_IZMENJEN}}},
      {"due date set", same, set(ZAG_DATDOSP, QDate(2023, 1, 13)), {}, {{77, EFM_IZMENJEN}}},
      {"supply date gone", same, set(ZAG_DATPROM, QDate()), {}, {{77, EFM_IZMENJEN}}},
      {"document text differs", same, set(ZAG_XML, u8("<env><Invoice>Đ</Invoice></env> ")), {},
       {{77, EFM_IZMENJEN}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EFMDB_ZATVORI_BAZE();
    dbf::closeAllAreas();
    QDir(GETAPPPATH() + "BAZE").removeRecursively();
    boxes.shown.clear();
    EfmZaglavlje h = header(77);
    if (c.stored) {
      c.stored(h);
      EfmPromene first;
      EFMDB_DODAJ_IZMENI({}, "U", h, first);
      ASSERT_EQ(first, (EfmPromene{{77, EFM_DODAT}}));
    }
    c.change(h);
    EfmPromene list = c.before;
    EFMDB_DODAJ_IZMENI({}, "U", h, list);
    EXPECT_EQ(list, c.after);
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
    EXPECT_FALSE(dbf::isUsed("INVOICE"));
    // The row holds the last header as its fields store it.
    const QList<QStringList> got = rows("INVOICE", kHeaderFields);
    ASSERT_EQ(got.size(), 1);
    QStringList want = {"U", EFMDB_ID20(77)};
    for (int pos : {ZAG_BRDOK, ZAG_TIPDOK, ZAG_STATUS, ZAG_KOMITENT}) {
      const int width = pos == ZAG_BRDOK ? 30 : pos == ZAG_KOMITENT ? 40 : 10;
      QString text = h[pos].toString();  // whole letters as far as they fit
      while (text.toUtf8().size() > width) text.chop(1);
      want << padded(text, width);
    }
    want << QString(c.amount).rightJustified(14, ' ');
    for (int pos : {ZAG_DATPROM, ZAG_DATIZD, ZAG_DATDOSP})
      want << (h[pos].toDate().isValid() ? h[pos].toDate().toString("yyyyMMdd") : QString(8, ' '));
    want << h[ZAG_XML].toString();
    EXPECT_EQ(got[0], want);
  }
}

TEST_F(Store, TheAmountStoredIsTheFieldsValueNotTheDownloadedOne) {
  EfmZaglavlje h = header(3);
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  h[ZAG_IZNOS] = 100.004;
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EXPECT_EQ(rows("INVOICE", {"IZNOS"}), QList<QStringList>{{"        100.00"}});
}

TEST_F(Store, AStatusThatCouldNotBeLearntKeepsTheStoredOne) {
  EfmZaglavlje h = header(4);
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  h[ZAG_STATUS] = QVariant();  // the status call failed
  list.clear();
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(rows("INVOICE", {"STATUS"}), QList<QStringList>{{"Poslato   "}});
  h[ZAG_STATUS] = QString();  // a status the system gave as empty is stored
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EXPECT_EQ(list, (EfmPromene{{4, EFM_IZMENJEN}}));
  EXPECT_EQ(rows("INVOICE", {"STATUS"}), QList<QStringList>{{QString(10, ' ')}});
}

TEST_F(Store, AnUnknownStatusLeavesTheRestOfTheHeaderCompared) {
  EfmPromene list;
  EfmZaglavlje h = header(12);
  EFMDB_DODAJ_IZMENI({}, "U", h, list);
  h[ZAG_STATUS] = QVariant();
  h[ZAG_IZNOS] = 250.0;
  list.clear();
  EFMDB_DODAJ_IZMENI({}, "U", h, list);
  EXPECT_EQ(list, (EfmPromene{{12, EFM_IZMENJEN}}));
  // A new id whose status is not known yet is recorded with an empty status.
  h[ZAG_ID] = 13;
  EFMDB_DODAJ_IZMENI({}, "U", h, list);
  EXPECT_EQ(list, (EfmPromene{{12, EFM_IZMENJEN}, {13, EFM_DODAT}}));
  EXPECT_EQ(rows("INVOICE", {"INV_ID", "STATUS", "IZNOS"}),
            (QList<QStringList>{{EFMDB_ID20(12), padded("Poslato", 10), "        250.00"},
                                {EFMDB_ID20(13), padded("", 10), "        250.00"}}));
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Store, AHeaderWithoutAWholeIdIsRefused) {
  for (const QVariant& id : {QVariant(), QVariant(0), QVariant(12.5), QVariant("abc")}) {
    boxes.shown.clear();
    EfmZaglavlje h = header(1);
    h[ZAG_ID] = id;
    EfmPromene list;
    EFMDB_DODAJ_IZMENI({}, "I", h, list);
    EXPECT_TRUE(list.isEmpty());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("Neispravan id e-fakture")) << boxes.texts()[0].toStdString();
  }
  EXPECT_TRUE(rows("INVOICE", {"INV_ID"}).isEmpty());
}

TEST_F(Store, TheSameIdInTheOtherDirectionIsAnotherRow) {
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "I", header(8), list);
  EFMDB_DODAJ_IZMENI({}, "U", header(8), list);
  EXPECT_EQ(list, (EfmPromene{{8, EFM_DODAT}}));
  EXPECT_EQ(rows("INVOICE", {"UI", "INV_ID"}), (QList<QStringList>{{"I", EFMDB_ID20(8)}, {"U", EFMDB_ID20(8)}}));
  EXPECT_TRUE(EFMDB_POSTOJI_INVOICE({}, "I", 8));
  EXPECT_TRUE(EFMDB_POSTOJI_INVOICE({}, "U", 8));
  EXPECT_FALSE(EFMDB_POSTOJI_INVOICE({}, "U", 80));
  EXPECT_FALSE(EFMDB_POSTOJI_INVOICE({}, "I", 9));
}

TEST_F(Store, ALockedRowGetsTheLockMessageAndKeepsItsFields) {
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "I", header(4), list);
  auto holder = other("INVOICE");
  holder->go(1);
  ASSERT_TRUE(holder->lock());
  EfmZaglavlje h = header(4);
  h[ZAG_STATUS] = "Odbijeno";
  list.clear();
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EXPECT_EQ(boxes.texts(), QStringList{ERR_LOCK()});
  EXPECT_TRUE(list.isEmpty());
  holder->close();
  EXPECT_EQ(rows("INVOICE", {"STATUS"}), QList<QStringList>{{"Poslato   "}});
}

TEST_F(Store, InABatchTheWrittenRowStaysLockedUntilTheNextRowOrTheClose) {
  ASSERT_TRUE(EFMDB_OTVORI_BAZE());
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "I", header(1), list);
  EXPECT_TRUE(dbf::isUsed("INVOICE"));  // the caller's batch keeps it open
  auto copy = other("INVOICE");
  copy->go(1);
  EXPECT_FALSE(copy->lock());
  EFMDB_DODAJ_IZMENI({}, "I", header(2), list);
  EXPECT_TRUE(copy->lock());
  copy->unlock();
  copy->go(2);
  EXPECT_FALSE(copy->lock());
  EFMDB_ZATVORI_BAZE();
  EXPECT_TRUE(copy->lock());
  EXPECT_EQ(list, (EfmPromene{{1, EFM_DODAT}, {2, EFM_DODAT}}));
}

TEST_F(Store, FalsRecordsAnIdOnceAndOpensTheStoreOnlyWhenClosed) {
  EFMDB_PISI_FALS({}, "U", 31);
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
  EXPECT_FALSE(dbf::isUsed("FALS"));
  ASSERT_TRUE(EFMDB_OTVORI_BAZE());
  EFMDB_PISI_FALS({}, "U", 31);
  EFMDB_PISI_FALS({}, "I", 31);
  EXPECT_TRUE(EFMDB_JESTE_FALS({}, "U", 31));
  EXPECT_TRUE(EFMDB_JESTE_FALS({}, "I", 31));
  EXPECT_FALSE(EFMDB_JESTE_FALS({}, "U", 3));
  EXPECT_FALSE(EFMDB_POSTOJI_INVOICE({}, "U", 31));
  EXPECT_TRUE(dbf::isUsed("FALS"));
  EFMDB_ZATVORI_BAZE();
  EXPECT_EQ(rows("FALS", {"UI", "INV_ID"}), (QList<QStringList>{{"U", EFMDB_ID20(31)}, {"I", EFMDB_ID20(31)}}));
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Store, FalsWhoseAppendIsHeldByAnotherCopySaysSo) {
  makeStore();
  dbf::File appendLock;  // another copy appending right now
  int err = 0;
  ASSERT_TRUE(appendLock.open(dbf::findIgnoringCase(table("FALS.dbf")), true, &err));
  ASSERT_TRUE(appendLock.tryLock(dbf::kLockAppend, true));
  EFMDB_PISI_FALS({}, "U", 31);
  EXPECT_EQ(boxes.texts(), QStringList{ERR_ADD()});
  EXPECT_EQ(waits, QList<double>(8, 0.5));
  appendLock.close();
  EXPECT_FALSE(EFMDB_JESTE_FALS({}, "U", 31));
}

// Another copy appends the same id while this one waits for the append lock:
// the key is looked up again under the lock, so the id keeps one row.
TEST_F(Store, AnIdAnotherCopyAppendsMeanwhileKeepsOneRow) {
  struct Case {
    const char* table;
    std::function<void()> record;
    QList<QStringList> rows;  // UI, INV_ID, and STATUS for INVOICE
  };
  const QList<Case> cases = {
      {"INVOICE",
       [] {
         EfmPromene list;
         EFMDB_DODAJ_IZMENI({}, "U", header(77), list);
         EXPECT_EQ(list, (EfmPromene{{77, EFM_IZMENJEN}}));
       },
       {{"U", EFMDB_ID20(77), "Poslato   "}}},
      {"FALS", [] { EFMDB_PISI_FALS({}, "U", 77); }, {{"U", EFMDB_ID20(77)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    makeStore();
    waits.clear();
    auto rival = other(c.table);
    ASSERT_TRUE(rival);
    ASSERT_TRUE(rival->tryLockAppend());
    setLibdbfDelay([&](double s) {
      waits << s;
      if (waits.size() != 1) return;
      ASSERT_TRUE(rival->appendBlank());
      rival->put("UI", QString("U"));
      rival->put("INV_ID", EFMDB_ID20(77));
      if (rival->fieldPos("STATUS")) rival->put("STATUS", QString("Seen"));
      rival->unlockAppend();
      rival->unlock();
    });
    c.record();
    EFMDB_ZATVORI_BAZE();
    rival.reset();
    QStringList fields = {"UI", "INV_ID"};
    if (c.rows.first().size() > 2) fields << "STATUS";
    EXPECT_EQ(rows(c.table, fields), c.rows);
    EXPECT_EQ(waits, QList<double>{0.5});
    EXPECT_TRUE(boxes.shown.isEmpty());
    QDir(GETAPPPATH() + "BAZE").removeRecursively();
  }
}

}  // namespace

namespace {

TEST_F(Store, AnAmountTooLargeForTheFieldIsReportedAndTheRestRecorded) {
  EfmZaglavlje h = header(6);
  h[ZAG_IZNOS] = 1.0e12;
  EfmPromene list;
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EXPECT_EQ(boxes.texts(),
            QStringList{u8("Iznos 1000000000000.00 e-fakture 6 ne staje u polje IZNOS, iznos nije upisan !")});
  EXPECT_EQ(list, (EfmPromene{{6, EFM_DODAT}}));
  EXPECT_EQ(rows("INVOICE", {"INV_ID", "IZNOS", "STATUS"}),
            (QList<QStringList>{{EFMDB_ID20(6), QString(14, ' '), padded("Poslato", 10)}}));
}

}  // namespace
