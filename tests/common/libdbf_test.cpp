// OTVORI on the program's own tables: creation, a second open, migration to
// a changed structure, index rebuilds, tables copied from Windows, locked
// tables, and the retried open, record lock and append.
#include "libdbf_fixture.h"

#include "common/dbf/fileio.h"

using namespace korvan;
using namespace korvan::libdbftest;
using korvan::dbf::test::dbfreadRecords;
using korvan::dbf::test::dbfDumpRecords;
using korvan::dbf::test::indexDump;

namespace {

struct Declared {
  const char* name;
  const char* title;
  Structure structure;
  IndexList indexes;
};

const QList<Declared> kTables = {{"INVOICE", "INVOICE", kInvoice, kInvoiceIdx},
                                 {"FALS", "FALS", kFals, kFalsIdx},
                                 {"ART", "ARTIKALA", kArt, kArtIdx},
                                 {"KOMIT", "KOMITENATA", kKomit, kKomitIdx}};

using Opening = LibdbfTest;

TEST_F(Opening, EveryTableIsCreatedIndexedAndOpenedAndASecondOpenRebuildsNothing) {
  for (const Declared& d : kTables) {
    SCOPED_TRACE(d.name);
    const QString base = baze(d.name);
    ASSERT_TRUE(OTVORI(base, false, d.title, d.name, d.indexes, d.structure));
    dbf::Table* t = dbf::area(d.name);
    ASSERT_TRUE(t);
    EXPECT_EQ(dbf::currentAlias(), d.name);
    EXPECT_FALSE(t->exclusive());
    EXPECT_EQ(t->structure(), d.structure);
    ASSERT_EQ(t->tagCount(), d.indexes.size());
    for (int i = 0; i < d.indexes.size(); ++i) {
      EXPECT_EQ(t->tagName(i + 1), d.indexes[i].path.mid(5));
      EXPECT_EQ(t->tagExpression(i + 1), d.indexes[i].key);
    }
    EXPECT_EQ(t->order(), 1);
    dbf::closeArea(d.name);
    const FileId dbfBefore = fileId(base + ".dbf"), cdxBefore = fileId(base + ".cdx");
    const QByteArray cdxBytes = bytes(base + ".cdx");
    ASSERT_TRUE(OTVORI(base, false, d.title, d.name, d.indexes, d.structure));
    EXPECT_EQ(fileId(base + ".dbf"), dbfBefore);
    EXPECT_EQ(fileId(base + ".cdx"), cdxBefore);
    EXPECT_EQ(bytes(base + ".cdx"), cdxBytes);
    EXPECT_EQ(dbf::area(d.name)->order(), 1);
  }
  EXPECT_EQ(filesIn(baze()), QStringList({"ART.cdx", "ART.dbf", "FALS.cdx", "FALS.dbf", "INVOICE.cdx",
                                          "INVOICE.dbf", "INVOICE.fpt", "KOMIT.cdx", "KOMIT.dbf"}));
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_TRUE(waits.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(tmpFolder()));  // no migration ran
}

TEST_F(Opening, ExclusiveOpenAndAnEmptyStructureListOpenWithoutComparing) {
  ASSERT_TRUE(OTVORI(baze("FALS"), true, "FALS", "FALS", kFalsIdx, kFals));
  EXPECT_TRUE(dbf::area("FALS")->exclusive());
  dbf::closeArea("FALS");
  // No list: an existing table is opened as it is, a missing one is not made.
  ASSERT_TRUE(OTVORI(baze("FALS"), false, "FALS", "F2", {}, {}));
  EXPECT_EQ(dbf::area("F2")->structure(), kFals);
  EXPECT_EQ(dbf::area("F2")->order(), 1);  // the first tag of its index
  EXPECT_THROW(OTVORI(baze("NEMA"), false, "NEMA", "NEMA", {}, {}), dbf::DbfError);
  EXPECT_FALSE(QFileInfo::exists(baze("NEMA.dbf")));
}

TEST_F(Opening, AnAddedFieldMigratesOnceKeepingEveryValueAndDroppingDeletedRows) {
  oldInvoiceTable(12);
  QList<QStringList> before;
  {
    auto old = dbf::Table::open(baze("INVOICE"), false, true);
    before = rows(*old);
  }
  ASSERT_EQ(before.size(), 8);
  const qint64 memoSize = fileId(baze("INVOICE.fpt")).size;

  ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  dbf::Table& t = *dbf::area("INVOICE");
  EXPECT_EQ(t.structure(), kInvoice);
  EXPECT_EQ(t.recCount(), 8u);  // the deleted rows are gone
  QList<QStringList> after = rows(t);
  for (QStringList& r : after) {
    EXPECT_EQ(r.takeLast(), QString(30, ' '));  // the new field is empty
  }
  EXPECT_EQ(after, before);
  EXPECT_EQ(t.order(), 1);
  expectTagSound(t, baze("INVOICE.cdx"), 1);
  // Unchanged memos keep their blocks: the memo file did not grow.
  EXPECT_EQ(fileId(baze("INVOICE.fpt")).size, memoSize);
  dbf::closeArea("INVOICE");

  // The Debian readers see the same rows and memos.
  const QList<QStringList> read = dbfreadRecords(baze("INVOICE.dbf"));
  ASSERT_EQ(read.size(), 8);
  for (int i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i][1], before[i][1]);
    EXPECT_EQ(read[i][10], before[i][10]);
  }
  EXPECT_EQ(dbfDumpRecords(baze("INVOICE.dbf")).size(), 8);
  EXPECT_EQ(filesIn(baze()), QStringList({"INVOICE.cdx", "INVOICE.dbf", "INVOICE.fpt"}));
  EXPECT_TRUE(filesIn(tmpFolder()).isEmpty());
  EXPECT_TRUE(boxes.shown.isEmpty());

  // Once migrated, the next open changes nothing.
  const FileId dbfId = fileId(baze("INVOICE.dbf")), cdxId = fileId(baze("INVOICE.cdx"));
  ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  EXPECT_EQ(fileId(baze("INVOICE.dbf")), dbfId);
  EXPECT_EQ(fileId(baze("INVOICE.cdx")), cdxId);
}

TEST_F(Opening, RemovedAndReorderedFieldsAndANumberMadeWiderOrNarrower) {
  const Structure before = {{"SIFRA", 'C', 10, 0}, {"NAZIV", 'C', 30, 0}, {"STOPA", 'N', 7, 2}, {"STARO", 'C', 5, 0}};
  ASSERT_TRUE(OTVORI(baze("ART"), false, "ARTIKALA", "ART", {{"BAZE\\ART", "SIFRA"}}, before));
  dbf::Table& t = *dbf::area("ART");
  for (int i = 1; i <= 3; ++i) {
    ASSERT_TRUE(t.appendBlank());
    t.put("SIFRA", QString("S%1").arg(i));
    t.put("NAZIV", QString::fromUtf8("Šraf M%1 dugačkog imena").arg(i));
    t.put("STOPA", 20.0 / i);
    t.put("STARO", QString("x"));
  }
  dbf::closeArea("ART");
  // NAZIV first and narrower (cut at a character), SIFRA wider, STOPA with more room, STARO gone.
  const Structure after = {{"NAZIV", 'C', 6, 0}, {"SIFRA", 'C', 20, 0}, {"STOPA", 'N', 9, 3}};
  ASSERT_TRUE(OTVORI(baze("ART"), false, "ARTIKALA", "ART", {{"BAZE\\ART", "SIFRA"}}, after));
  dbf::Table& n = *dbf::area("ART");
  EXPECT_EQ(columns(n, {"NAZIV", "SIFRA", "STOPA"}),
            QList<QStringList>({{QString::fromUtf8("Šraf "), "S1" + QString(18, ' '), "20"},
                                {QString::fromUtf8("Šraf "), "S2" + QString(18, ' '), "10"},
                                {QString::fromUtf8("Šraf "), "S3" + QString(18, ' '), "6.67"}}));
  n.go(3);
  EXPECT_EQ(QString::fromLatin1(n.raw(3)), "    6.670");
  EXPECT_EQ(n.fieldPos("STARO"), 0);
}

// One field changes type; the old value must arrive converted.
struct Conversion {
  FieldDef from;
  QVariant value;
  FieldDef to;
  QVariant expected;
};

TEST_F(Opening, ChangedTypesAreConverted) {
  const QDate d(2022, 12, 14);
  const QList<Conversion> cases = {
      {{"X", 'N', 14, 2}, 1234.5, {"X", 'C', 20, 0}, QString("             1234.50")},
      {{"X", 'N', 5, 0}, 42.0, {"X", 'C', 3, 0}, QString(" 42")},
      {{"X", 'N', 10, 2}, -3.25, {"X", 'M', 10, 0}, QString("     -3.25")},
      {{"X", 'D', 8, 0}, QDate(2000, 1, 2), {"X", 'N', 6, 0}, 1.0},
      {{"X", 'D', 8, 0}, d, {"X", 'N', 8, 0}, double(QDate(2000, 1, 1).daysTo(d))},
      {{"X", 'D', 8, 0}, QDate(), {"X", 'N', 6, 0}, 0.0},
      {{"X", 'D', 8, 0}, d, {"X", 'C', 10, 0}, QString("14.12.2022")},
      {{"X", 'D', 8, 0}, d, {"X", 'M', 10, 0}, QString("14.12.2022")},
      {{"X", 'M', 10, 0}, QString::fromUtf8("dugač tekst"), {"X", 'C', 5, 0}, QString("duga ")},
      {{"X", 'C', 5, 0}, QString("abc"), {"X", 'M', 10, 0}, QString("abc  ")},
      {{"X", 'C', 8, 0}, QString(" 12.5kg"), {"X", 'N', 6, 2}, 12.5},
      {{"X", 'C', 8, 0}, QString("abc"), {"X", 'N', 6, 2}, 0.0},
      {{"X", 'M', 10, 0}, QString("7.25"), {"X", 'N', 6, 2}, 7.25},
      {{"X", 'C', 10, 0}, QString("14.12.2022"), {"X", 'D', 8, 0}, d},
      {{"X", 'C', 10, 0}, QString("nije datum"), {"X", 'D', 8, 0}, QDate()},
      {{"X", 'M', 10, 0}, QString("01.02.2023"), {"X", 'D', 8, 0}, QDate(2023, 2, 1)},
      {{"X", 'N', 6, 0}, 1.0, {"X", 'D', 8, 0}, QDate(2000, 1, 2)},
      {{"X", 'N', 6, 0}, 0.0, {"X", 'D', 8, 0}, QDate(2000, 1, 1)},
  };
  int n = 0;
  for (const Conversion& c : cases) {
    const QString name = QString("KONV%1").arg(++n);
    SCOPED_TRACE(QString("%1: %2 -> %3").arg(name, QChar(c.from.type), QChar(c.to.type)).toStdString());
    const Structure before = {{"ID", 'C', 3, 0}, c.from, {"OSTALO", 'C', 4, 0}};
    ASSERT_TRUE(OTVORI(baze(name), false, name, "K", {{"K", "ID"}}, before));
    ASSERT_TRUE(ADD_REC(4));
    dbf::current().put("ID", QString("r1"));
    dbf::current().put("X", c.value);
    dbf::current().put("OSTALO", QString("ost"));
    dbf::closeArea("K");
    const Structure after = {{"ID", 'C', 3, 0}, c.to, {"OSTALO", 'C', 4, 0}};
    ASSERT_TRUE(OTVORI(baze(name), false, name, "K", {{"K", "ID"}}, after)) << boxes.texts().join("|").toStdString();
    dbf::Table& t = *dbf::area("K");
    EXPECT_EQ(t.structure(), dbf::normalizeStructure(after, name));
    ASSERT_EQ(t.recCount(), 1u);
    t.top();
    EXPECT_EQ(t.value("X"), c.expected);
    EXPECT_EQ(t.value("OSTALO").toString(), "ost ");
    EXPECT_TRUE(t.seek("r1"));
    dbf::closeArea("K");
    EXPECT_EQ(dbfreadRecords(baze(name + ".dbf")).size(), 1);
  }
}

TEST_F(Opening, AValueThatDoesNotFitStopsTheMigrationAndKeepsTheTable) {
  const Structure before = {{"ID", 'C', 3, 0}, {"X", 'N', 14, 2}};
  ASSERT_TRUE(OTVORI(baze("USKO"), false, "USKO", "U", {{"U", "ID"}}, before));
  ASSERT_TRUE(ADD_REC(4));
  dbf::current().put("ID", QString("r1"));
  dbf::current().put("X", 123456789.5);
  dbf::closeArea("U");
  const QByteArray dbfBytes = bytes(baze("USKO.dbf")), cdxBytes = bytes(baze("USKO.cdx"));
  for (const char type : {'C', 'N'}) {
    boxes.shown.clear();
    EXPECT_FALSE(OTVORI(baze("USKO"), false, "USKO", "U", {{"U", "ID"}}, {{"ID", 'C', 3, 0}, {"X", type, 5, 0}}));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("NEMOZE SE AZURIRATI STRUKTURA BAZE " + baze("USKO") + "\r\n"))
        << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(dbf::isUsed("U"));
    EXPECT_EQ(bytes(baze("USKO.dbf")), dbfBytes);
    EXPECT_EQ(bytes(baze("USKO.cdx")), cdxBytes);
    EXPECT_EQ(filesIn(baze()), QStringList({"USKO.cdx", "USKO.dbf"}));
    EXPECT_TRUE(filesIn(tmpFolder()).isEmpty());
  }
}

TEST_F(Opening, AMissingIndexIsRebuiltAndANewEntryWaitsForIt) {
  ASSERT_TRUE(OTVORI(baze("ART"), false, "ARTIKALA", "ART", kArtIdx, kArt));
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(ADD_REC(4));
    dbf::current().put("SIFRA", QString("S%1").arg(5 - i));
    dbf::current().put("BARKOD", QString("86%1").arg(i * 7 % 5));
    dbf::current().put("NAZIV", QString("Artikal %1").arg(i));
    dbf::current().put("JMERE", QString("kom"));
  }
  dbf::closeArea("ART");
  ASSERT_TRUE(QFile::remove(baze("ART.cdx")));
  ASSERT_TRUE(OTVORI(baze("ART"), false, "ARTIKALA", "ART", kArtIdx, kArt));
  dbf::Table& t = *dbf::area("ART");
  ASSERT_EQ(t.tagCount(), 3);
  for (int order = 1; order <= 3; ++order) expectTagSound(t, baze("ART.cdx"), order);
  EXPECT_EQ(t.order(), 1);
  dbf::closeArea("ART");

  IndexList more = kArtIdx;
  more.append(IndexDef{"BAZE\\ART4", "JMERE+SIFRA"});
  ASSERT_TRUE(OTVORI(baze("ART"), false, "ARTIKALA", "ART", more, kArt));
  EXPECT_EQ(dbf::area("ART")->tagCount(), 3);
  dbf::closeArea("ART");
  QFile::remove(baze("ART.cdx"));
  ASSERT_TRUE(OTVORI(baze("ART"), false, "ARTIKALA", "ART", more, kArt));
  EXPECT_EQ(dbf::area("ART")->tagCount(), 4);
  EXPECT_EQ(dbf::area("ART")->tagName(4), "ART4");
  expectTagSound(*dbf::area("ART"), baze("ART.cdx"), 4);
}

TEST_F(Opening, TablesCopiedFromWindowsAreFoundAndKeepTheirNames) {
  // As copied from Windows: folder and files in upper case.
  QDir().mkpath(app() + "BAZE");
  dbf::Table::create(baze("INVOICE.DBF"), invoiceBefore());
  {
    auto t = dbf::Table::open(baze("INVOICE"), true);
    t->rebuildIndex({{"INVOICE", "UI+INV_ID"}});
  }
  ASSERT_TRUE(dbf::useArea(baze("INVOICE"), "INVOICE", false));
  fillInvoices("INVOICE", 5);
  dbf::closeArea("INVOICE");
  const QStringList windows = {"INVOICE.CDX", "INVOICE.DBF", "INVOICE.FPT"};
  ASSERT_EQ(filesIn(baze()), windows);
  const QByteArray cdx = bytes(baze("INVOICE.CDX"));

  // The caller's path as the program writes it, with a backslash.
  ASSERT_TRUE(OTVORI(app() + "BAZE\\INVOICE", false, "INVOICE", "INVOICE", kInvoiceIdx, invoiceBefore()));
  EXPECT_EQ(dbf::area("INVOICE")->recCount(), 5u);
  dbf::closeArea("INVOICE");
  EXPECT_EQ(filesIn(baze()), windows);
  EXPECT_EQ(bytes(baze("INVOICE.CDX")), cdx);

  // A migration keeps the names; so does an index rebuilt because it went missing.
  ASSERT_TRUE(OTVORI(app() + "BAZE\\INVOICE", false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  EXPECT_EQ(dbf::area("INVOICE")->structure(), kInvoice);
  EXPECT_EQ(columns(*dbf::area("INVOICE"), {"INV_ID"}).size(), 4);
  dbf::closeArea("INVOICE");
  EXPECT_EQ(filesIn(baze()), windows);
  QFile::remove(baze("INVOICE.CDX"));
  ASSERT_TRUE(OTVORI(app() + "BAZE\\INVOICE", false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  dbf::closeArea("INVOICE");
  EXPECT_EQ(filesIn(baze()), windows);
  EXPECT_EQ(dbfreadRecords(baze("INVOICE.DBF")).size(), 4);
  EXPECT_EQ(indexDump(baze("INVOICE.CDX"), "INVOICE").size(), 4);
}

TEST_F(Opening, AFolderInAnotherLetterCaseIsUsed) {
  QDir().mkpath(app() + "Baze");
  ASSERT_TRUE(OTVORI(app() + "Baze/komit", false, "KOMITENATA", "KOMIT", kKomitIdx, kKomit));
  dbf::closeArea("KOMIT");
  ASSERT_TRUE(OTVORI(baze("KOMIT"), false, "KOMITENATA", "KOMIT", kKomitIdx, kKomit));
  EXPECT_FALSE(QFileInfo::exists(app() + "BAZE"));
  EXPECT_EQ(filesIn(app() + "Baze"), QStringList({"komit.cdx", "komit.dbf"}));
}

TEST_F(Opening, TheConfirmationDecidesAndARefusalStillRebuildsTheIndex) {
  oldInvoiceTable(4);
  int asked = 0;
  ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, invoiceBefore(), [&] {
    ++asked;
    return true;
  }));
  EXPECT_EQ(asked, 0);  // nothing to migrate, nothing to ask
  dbf::closeArea("INVOICE");

  // Refused: the old table stays, the index is made again from the list.
  const IndexList two = {{"BAZE\\INVOICE", "UI+INV_ID"}, {"BAZE\\PARTNER", "KOMITENT"}};
  const QByteArray dbfBytes = bytes(baze("INVOICE.dbf"));
  ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", two, kInvoice, [&] {
    ++asked;
    return false;
  }));
  EXPECT_EQ(asked, 1);
  dbf::Table& t = *dbf::area("INVOICE");
  EXPECT_EQ(t.structure(), invoiceBefore());
  ASSERT_EQ(t.tagCount(), 2);
  expectTagSound(t, baze("INVOICE.cdx"), 2);
  dbf::closeArea("INVOICE");
  EXPECT_EQ(bytes(baze("INVOICE.dbf")).mid(32), dbfBytes.mid(32));  // (the header holds the index flag and date)

  ASSERT_TRUE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice, [&] {
    ++asked;
    return true;
  }));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(dbf::area("INVOICE")->structure(), kInvoice);
  EXPECT_EQ(dbf::area("INVOICE")->tagCount(), 1);
}

// Another open of this process holds the table: the same locks as another copy's.
TEST_F(Opening, ALockedTableGivesItsMessageAfterThreeTries) {
  ASSERT_TRUE(OTVORI(baze("FALS"), false, "FALS", "FALS", kFalsIdx, kFals));
  dbf::closeArea("FALS");
  auto holder = dbf::Table::open(baze("FALS"), true);
  ASSERT_TRUE(holder);
  EXPECT_FALSE(OTVORI(baze("FALS"), false, "FALS", "FALS", kFalsIdx, kFals));
  EXPECT_EQ(boxes.texts(), QStringList({"BAZA FALS JE ZAKLJUCANA !\r\nNET_USE"}));
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::Warning);
  EXPECT_EQ(waits, QList<double>({1.0, 1.0, 1.0}));
  EXPECT_FALSE(dbf::isUsed("FALS"));

  QString text;
  EXPECT_FALSE(OTVORI(baze("FALS"), false, "FALS", "FALS", kFalsIdx, kFals, {}, true, &text));
  EXPECT_EQ(text, "BAZA FALS JE ZAKLJUCANA !\r\nNET_USE");
  EXPECT_EQ(boxes.shown.size(), 1);  // silent: no second box

  // Freed on the second wait: the third try opens it.
  waits.clear();
  onWait = [&](int n) {
    if (n == 2) holder.reset();
  };
  EXPECT_TRUE(OTVORI(baze("FALS"), false, "FALS", "FALS", kFalsIdx, kFals));
  EXPECT_EQ(waits.size(), 2);
}

TEST_F(Opening, AnIndexThatCannotBeBuiltAloneGivesChgIndex) {
  ASSERT_TRUE(OTVORI(baze("KOMIT"), false, "KOMITENATA", "KOMIT", kKomitIdx, kKomit));
  dbf::closeArea("KOMIT");
  QFile::remove(baze("KOMIT.cdx"));
  auto reader = dbf::Table::open(baze("KOMIT"), false);  // another copy has it open
  EXPECT_FALSE(OTVORI(baze("KOMIT"), false, "KOMITENATA", "KOMIT", kKomitIdx, kKomit));
  EXPECT_EQ(boxes.texts(), QStringList({"BAZA KOMITENATA JE ZAKLJUCANA !\r\nCHG_INDEX"}));
  EXPECT_FALSE(dbf::isUsed("KOMIT"));
  EXPECT_FALSE(QFileInfo::exists(baze("KOMIT.cdx")));
  reader.reset();
  ASSERT_TRUE(OTVORI(baze("KOMIT"), false, "KOMITENATA", "KOMIT", kKomitIdx, kKomit));
  EXPECT_EQ(dbf::area("KOMIT")->tagCount(), 1);
}

TEST_F(Opening, AMigrationWhileTheTableIsOpenElsewhereChangesNothing) {
  oldInvoiceTable(6);
  auto reader = dbf::Table::open(baze("INVOICE"), false);
  const QByteArray dbfBytes = bytes(baze("INVOICE.dbf")), fpt = bytes(baze("INVOICE.fpt")),
                   cdx = bytes(baze("INVOICE.cdx"));
  EXPECT_FALSE(OTVORI(baze("INVOICE"), false, "INVOICE", "INVOICE", kInvoiceIdx, kInvoice));
  EXPECT_EQ(boxes.texts(), QStringList({"NEMOZE SE AZURIRATI STRUKTURA BAZE " + baze("INVOICE")}));
  EXPECT_EQ(bytes(baze("INVOICE.dbf")), dbfBytes);
  EXPECT_EQ(bytes(baze("INVOICE.fpt")), fpt);
  EXPECT_EQ(bytes(baze("INVOICE.cdx")), cdx);
  EXPECT_EQ(filesIn(baze()), QStringList({"INVOICE.cdx", "INVOICE.dbf", "INVOICE.fpt"}));
  EXPECT_TRUE(filesIn(tmpFolder()).isEmpty());
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
}

using Retries = LibdbfTest;

TEST_F(Retries, NetUse2TriesAsOftenAsAskedOneSecondApart) {
  ASSERT_TRUE(OTVORI(baze("FALS"), false, "FALS", "FALS", kFalsIdx, kFals));
  dbf::closeArea("FALS");
  {
    auto holder = dbf::Table::open(baze("FALS"), true);
    for (int tries : {1, 3, 5}) {
      waits.clear();
      EXPECT_FALSE(NET_USE2(baze("FALS"), false, tries, "FALS", false));
      EXPECT_EQ(waits, QList<double>(tries, 1.0));
      EXPECT_TRUE(dbf::netErr());
    }
    EXPECT_FALSE(NET_USE2(baze("FALS"), false, 1, "FALS", true, "CDX"));
    EXPECT_THROW(NET_USE2(baze("FALS"), false, 1, "FALS", true, "NTX"), dbf::DbfError);
  }
  waits.clear();
  ASSERT_TRUE(NET_USE2(app() + "BAZE\\FALS", false, 3, "FALS", true));
  EXPECT_TRUE(waits.isEmpty());
  EXPECT_TRUE(dbf::area("FALS")->readOnly());
  EXPECT_TRUE(DBF_MOZE_EXCLUSIVE(baze("FALS.dbf")) == false);
  dbf::closeArea("FALS");
  EXPECT_TRUE(DBF_MOZE_EXCLUSIVE(baze("FALS.dbf")));
  EXPECT_FALSE(DBF_MOZE_EXCLUSIVE(baze("NEMA.dbf")));
}

TEST_F(Retries, RecLockTriesEveryHalfSecondForTheGivenTime) {
  ASSERT_TRUE(OTVORI(baze("KOMIT"), false, "KOMITENATA", "KOMIT", kKomitIdx, kKomit));
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(ADD_REC(4));
    dbf::current().put("PIB", QString::number(100 + i));
  }
  dbf::current().unlock();
  auto other = dbf::Table::open(baze("KOMIT"), false);
  other->go(1);
  ASSERT_TRUE(other->lock());
  dbf::current().go(1);
  waits.clear();
  EXPECT_FALSE(REC_LOCK(4));
  EXPECT_EQ(waits, QList<double>(8, 0.5));
  EXPECT_FALSE(dbf::current().isLocked(1));
  // Released during the third wait: the fourth try has it.
  waits.clear();
  onWait = [&](int n) {
    if (n == 3) other->unlock();
  };
  EXPECT_TRUE(REC_LOCK(4));
  EXPECT_EQ(waits.size(), 3);
  EXPECT_TRUE(dbf::current().isLocked(1));
  // Locking another record releases this one.
  dbf::current().go(2);
  EXPECT_TRUE(REC_LOCK(4));
  EXPECT_FALSE(dbf::current().isLocked(1));
  other->go(1);
  EXPECT_TRUE(other->lock());
}

TEST_F(Retries, AddRecTriesUntilTheTimeRunsOut) {
  ASSERT_TRUE(OTVORI(baze("FALS"), false, "FALS", "FALS", kFalsIdx, kFals));
  dbf::File appendLock;  // another copy appending right now
  int err = 0;
  ASSERT_TRUE(appendLock.open(baze("FALS.dbf"), true, &err));
  ASSERT_TRUE(appendLock.tryLock(dbf::kLockAppend, true));
  waits.clear();
  EXPECT_FALSE(ADD_REC(1));
  EXPECT_EQ(waits, QList<double>({0.5, 0.5}));
  EXPECT_TRUE(dbf::netErr());
  EXPECT_EQ(dbf::current().recCount(), 0u);
  onWait = [&](int) { appendLock.unlock(dbf::kLockAppend); };
  waits.clear();
  EXPECT_TRUE(ADD_REC(4));
  EXPECT_EQ(waits.size(), 1);
  EXPECT_EQ(dbf::current().recCount(), 1u);
  EXPECT_TRUE(dbf::current().isLocked(1));
}

}  // namespace
