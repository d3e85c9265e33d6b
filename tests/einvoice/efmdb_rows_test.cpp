// Listing one direction, reading, deleting and the user's fields of a row.
#include "efmdb_fixture.h"

#include "common/msg.h"
#include "einvoice/ui/efmdblist.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/frame.h"

using namespace korvan;
using namespace korvan::efmdbtest;

namespace {

QList<qint64> ids(const QList<QVariantList>& rows) {
  QList<qint64> out;
  for (const QVariantList& r : rows) out << r[LR_ID].toLongLong();
  return out;
}

const QString kGone = u8("Stavka je u međuvremenu promenjena ili obrisana, osvežite pregled !");

class Rows : public Store {
 protected:
  // Records 1..6: I 9, U 5, I 10, I 3 (deleted), I 100, U 7.
  void SetUp() override {
    Store::SetUp();
    makeStore();
    addRow("I", 9, {{"BRDOK", "  R-9 "}, {"TIPDOK", u8("Račun")}, {"STATUS", "Poslato"},
                    {"KOMITENT", u8(" Kupac Čačak ")}, {"IZNOS", 1200.5}, {"DATIZD", QDate(2022, 12, 1)},
                    {"DATPROM", QDate(2022, 11, 30)}, {"ODOBRENO", "D"}, {"NACINODOBR", u8("Lično")},
                    {"XML", "<devet/>"}, {"RAZLOGODB", "  kasni "}});
    addRow("U", 5);
    addRow("I", 10);
    addRow("I", 3);
    addRow("I", 100);
    addRow("U", 7);
    auto t = other("INVOICE");
    t->go(4);
    ASSERT_TRUE(t->lock());
    t->markDeleted();
    t->close();
  }
};

TEST_F(Rows, ADirectionIsListedHighestIdFirstWithoutDeletedRows) {
  const QList<QVariantList> out = EFMDB_PUNI_TABELA({}, "I");
  EXPECT_EQ(ids(out), (QList<qint64>{100, 10, 9}));
  EXPECT_EQ(ids(EFMDB_PUNI_TABELA({}, "U")), (QList<qint64>{7, 5}));
  ASSERT_EQ(out.size(), 3);
  const QVariantList want = {1u, 9, "R-9", u8("Račun"), "Poslato", u8("Kupac Čačak"), 1200.5, QDate(2022, 12, 1),
                             QDate(2022, 11, 30), QDate(), "", "D ", u8("Lično")};
  ASSERT_EQ(out[2].size(), int(LR_BROJ));
  for (int i = 0; i < LR_BROJ; ++i) EXPECT_EQ(out[2][i].toString(), want[i].toString()) << "value " << i;
  EXPECT_EQ(out[0][LR_RECNO].toUInt(), 5u);
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Store, ListingADirectionThatHasNoRows) {
  makeStore();
  EXPECT_TRUE(EFMDB_PUNI_TABELA({}, "I").isEmpty());  // an empty table
  EXPECT_TRUE(EFMDB_PUNI_TABELA({}, "U").isEmpty());
  addRow("I", 1);
  EXPECT_TRUE(EFMDB_PUNI_TABELA({}, "U").isEmpty());
  EXPECT_EQ(EFMDB_PUNI_TABELA({}, "I").size(), 1);
  EXPECT_TRUE(EFMDB_PUNI_TABELA({}, "").isEmpty());
}

TEST_F(Store, ListingCountsInItsProgressBoxAndStopsOnPrekid) {
  makeStore();
  for (int id = 1; id <= 12; ++id) addRow("U", id);
  MyFRAME::SET_INTERVAL(0);  // events at every step, so the watch sees each one
  QStringList shown;
  QTimer watch;  // runs whenever the box lets events through
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!box) return;
    const QString text = box->findChild<QLabel*>()->text();
    if (shown.isEmpty() || shown.last() != text) shown << text;
    if (text.endsWith(" 5")) box->findChild<QPushButton*>()->click();
  });
  watch.start();
  const QList<QVariantList> out = EFMDB_PUNI_TABELA({}, "U");
  watch.stop();
  MyFRAME::SET_INTERVAL(50);
  EXPECT_EQ(ids(out), (QList<qint64>{12, 11, 10, 9}));
  QStringList want;
  for (int n = 1; n <= 5; ++n) want << u8("Očitavam bazu... ") + QString::number(n).rightJustified(8, ' ');
  EXPECT_EQ(shown, want);
  EXPECT_FALSE(QApplication::activeModalWidget());
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
}

TEST_F(Rows, ReadingARowGivesItsIdDocumentDateAndPartner) {
  qint64 id = 0;
  QString xml, partner;
  QDate issued;
  ASSERT_TRUE(EFMDB_UZMI_IZ_BAZE({}, 1, &id, &xml, &issued, &partner));
  EXPECT_EQ(id, 9);
  EXPECT_EQ(xml, "<devet/>");
  EXPECT_EQ(issued, QDate(2022, 12, 1));
  EXPECT_EQ(partner, u8(" Kupac Čačak"));
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
  id = -1;
  EXPECT_FALSE(EFMDB_UZMI_IZ_BAZE({}, 99, &id, &xml, nullptr, nullptr));
  EXPECT_EQ(id, -1);
  EXPECT_EQ(boxes.texts(), QStringList{u8("Nema sloga 99 u bazi INVOICE, osvežite pregled !")});
  // The same for a listed row that the record still carries.
  ASSERT_TRUE(EFMDB_UZMI_IZ_BAZE({}, EfmdbSlog{1, "I", 9}, &id, &xml, &issued, &partner));
  EXPECT_EQ(id, 9);
  EXPECT_EQ(xml, "<devet/>");
  EXPECT_EQ(partner, u8(" Kupac Čačak"));
}

TEST_F(Rows, ADeletedRowIsHiddenFromSeeksAndListingsAndNotAddedToFals) {
  ASSERT_TRUE(EFMDB_BRISI({}, {3, "I", 10}));
  EXPECT_EQ(ids(EFMDB_PUNI_TABELA({}, "I")), (QList<qint64>{100, 9}));
  EXPECT_FALSE(EFMDB_POSTOJI_INVOICE({}, "I", 10));
  EXPECT_FALSE(EFMDB_JESTE_FALS({}, "I", 10));
  EXPECT_TRUE(boxes.shown.isEmpty());
  // The next download brings it back as a new row.
  EfmPromene list;
  EfmZaglavlje h(ZAG_BROJ);
  h[ZAG_ID] = 10;
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EXPECT_EQ(list, (EfmPromene{{10, EFM_DODAT}}));
  EXPECT_EQ(ids(EFMDB_PUNI_TABELA({}, "I")), (QList<qint64>{100, 10, 9}));
}

TEST_F(Rows, ChangesGoOnlyToTheRowTheGridShowed) {
  // Another copy deleted row 3, and row 6 now holds another invoice (as after a rebuild).
  ASSERT_TRUE(EFMDB_BRISI({}, {3, "I", 10}));
  {
    auto t = other("INVOICE");
    t->go(6);
    ASSERT_TRUE(t->lock());
    t->put("INV_ID", EFMDB_ID20(70));
    t->close();
  }
  boxes.shown.clear();
  const QList<EfmdbSlog> stale = {{3, "I", 10}, {6, "U", 7}, {1, "U", 9}, {5, "I", 101}, {99, "I", 9}};
  for (const EfmdbSlog& row : stale) {
    SCOPED_TRACE(row.recno);
    boxes.shown.clear();
    EXPECT_FALSE(EFMDB_BRISI({}, row));
    EXPECT_FALSE(EFMDB_SG_ODOBRENO({}, row, QString("Da"), "Mejlom"));
    EXPECT_FALSE(EFMDB_SG_ODOBRENO({}, row));
    EXPECT_FALSE(EFMDB_SG_RAZLOG_ODBIJANJA({}, row, QString("greska")));
    EXPECT_FALSE(EFMDB_SG_RAZLOG_ODBIJANJA({}, row));
    qint64 id = -1;
    QString xml = "x";
    EXPECT_FALSE(EFMDB_UZMI_IZ_BAZE({}, row, &id, &xml, nullptr, nullptr));
    EXPECT_EQ(id, -1);
    EXPECT_EQ(xml, "x");
    EXPECT_EQ(boxes.texts(), QStringList(6, kGone));
  }
  EXPECT_EQ(rows("INVOICE", {"INV_ID", "ODOBRENO", "RAZLOGODB"}),
            (QList<QStringList>{{EFMDB_ID20(9), "D ", padded("  kasni", 30)},
                                {EFMDB_ID20(5), "  ", padded("", 30)},
                                {EFMDB_ID20(100), "  ", padded("", 30)},
                                {EFMDB_ID20(70), "  ", padded("", 30)}}));
}

TEST_F(Rows, ApprovalAndRejectReasonAreReadAndWritten) {
  const EfmdbSlog row{1, "I", 9};
  std::optional<EfmOdobrenje> got = EFMDB_SG_ODOBRENO({}, row);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->flag, "D ");
  EXPECT_EQ(got->way, u8("Lično"));
  EXPECT_EQ(EFMDB_SG_RAZLOG_ODBIJANJA({}, row), std::optional<QString>("kasni"));

  EXPECT_FALSE(EFMDB_SG_ODOBRENO({}, row, QString("Ne"), "Telefonom"));
  EXPECT_FALSE(EFMDB_SG_RAZLOG_ODBIJANJA({}, row, u8("Pogrešna cena, količina i rabat na stavci 3")));
  got = EFMDB_SG_ODOBRENO({}, row);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->flag, "Ne");
  EXPECT_EQ(got->way, "Telefonom");
  EXPECT_EQ(EFMDB_SG_RAZLOG_ODBIJANJA({}, row), std::optional<QString>(u8("Pogrešna cena, količina i ra")));
  EXPECT_FALSE(EFMDB_SG_ODOBRENO({}, row, QString(""), ""));
  EXPECT_EQ(EFMDB_SG_ODOBRENO({}, row)->flag, "  ");
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
}

TEST_F(Rows, InsideABatchEveryOperationUsesTheOpenStoreAndLeavesItOpen) {
  ASSERT_TRUE(EFMDB_OTVORI_BAZE());
  EfmPromene list;
  EfmZaglavlje h(ZAG_BROJ);
  h[ZAG_ID] = 200;
  h[ZAG_STATUS] = "Poslato";
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EXPECT_EQ(ids(EFMDB_PUNI_TABELA({}, "I")), (QList<qint64>{200, 100, 10, 9}));
  qint64 id = 0;
  EXPECT_TRUE(EFMDB_UZMI_IZ_BAZE({}, 7, &id, nullptr, nullptr, nullptr));
  EXPECT_EQ(id, 200);
  EXPECT_FALSE(EFMDB_SG_ODOBRENO({}, {7, "I", 200}, QString("Da"), "Mejlom"));
  EXPECT_FALSE(EFMDB_SG_RAZLOG_ODBIJANJA({}, {7, "I", 200}, QString("kasni")));
  EXPECT_TRUE(EFMDB_BRISI({}, {3, "I", 10}));
  EXPECT_TRUE(dbf::isUsed("INVOICE"));
  EXPECT_TRUE(dbf::isUsed("FALS"));
  // The batch goes on with the same open store.
  h[ZAG_ID] = 201;
  EFMDB_DODAJ_IZMENI({}, "I", h, list);
  EFMDB_PISI_FALS({}, "I", 202);
  EXPECT_TRUE(EFMDB_JESTE_FALS({}, "I", 202));
  EFMDB_ZATVORI_BAZE();
  EXPECT_EQ(list, (EfmPromene{{200, EFM_DODAT}, {201, EFM_DODAT}}));
  EXPECT_EQ(ids(EFMDB_PUNI_TABELA({}, "I")), (QList<qint64>{201, 200, 100, 9}));
  EXPECT_EQ(EFMDB_SG_ODOBRENO({}, {7, "I", 200})->way, "Mejlom");
  EXPECT_EQ(EFMDB_SG_RAZLOG_ODBIJANJA({}, {7, "I", 200}), std::optional<QString>("kasni"));
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
}

TEST_F(Rows, ALockedRowIsNeitherDeletedNorWritten) {
  auto holder = other("INVOICE");
  holder->go(1);
  ASSERT_TRUE(holder->lock());
  const EfmdbSlog row{1, "I", 9};
  EXPECT_FALSE(EFMDB_BRISI({}, row));
  EXPECT_FALSE(EFMDB_SG_ODOBRENO({}, row, QString("Ne"), ""));
  EXPECT_FALSE(EFMDB_SG_RAZLOG_ODBIJANJA({}, row, QString("x")));
  EXPECT_EQ(boxes.texts(), QStringList(3, ERR_LOCK()));
  EXPECT_EQ(EFMDB_SG_ODOBRENO({}, row)->flag, "D ");  // reading needs no lock
  holder->close();
  EXPECT_EQ(rows("INVOICE", {"INV_ID", "ODOBRENO", "RAZLOGODB"}).value(0),
            (QStringList{EFMDB_ID20(9), "D ", padded("  kasni", 30)}));
}

}  // namespace
