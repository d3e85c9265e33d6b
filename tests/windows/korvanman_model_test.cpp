// The manager's decisions without widgets: direction codes, row colours,
// the ids and changes answers, and the names of saved files.
#include <gtest/gtest.h>

#include "common/letters.h"
#include "windows/korvanman_model.h"

namespace korvan::kman {
namespace {

QString u8(const char* s) { return QString::fromUtf8(s); }

TEST(KorvanmanModel, DirectionOtherThanUIsOutgoingAsTheComboShows) {
  for (const char* c : {"I", "", "X", "i", "u", "UI"}) EXPECT_EQ(direction(c), "I") << c;
  EXPECT_EQ(direction("U"), "U");
}

TEST(KorvanmanModel, FirstMarkOfTheIdDecidesTheColour) {
  const EfmPromene changes = {{5, EFM_IZMENJEN}, {7, EFM_DODAT}, {5, EFM_DODAT}};
  EXPECT_EQ(boja(5, changes), Boja::Losos);
  EXPECT_EQ(boja(7, changes), Boja::Zuta);
  EXPECT_EQ(boja(8, changes), Boja::Nema);
  EXPECT_EQ(imeBoje(Boja::Zuta), "yellow");
  EXPECT_EQ(imeBoje(Boja::Losos), "salmon");
  EXPECT_EQ(imeBoje(Boja::Nema), "");
}

TEST(KorvanmanModel, RowValuesInColumnOrder) {
  const QVariantList store = {17u, qint64(7001), "R-1", u8("Račun"), "Poslato", u8("Đorđević d.o.o."), 1234.5,
                              QDate(2023, 3, 5), QDate(), QDate(2023, 4, 4), QString(), "", ""};
  const Red r = red(store, {{7001, EFM_DODAT}});
  EXPECT_EQ(r.recno, 17u);
  EXPECT_EQ(r.id, 7001);
  EXPECT_EQ(r.boja, Boja::Zuta);
  ASSERT_EQ(r.vrednosti.size(), polja().size());
  EXPECT_EQ(polja(), QStringList({"STATUS", "BRDOK", "TIPDOK", "DATIZD", "DATPROM", "DATDOSP", "IZNOS", "KOMITENT"}));
  EXPECT_EQ(r.vrednosti[0].toString(), "Poslato");
  EXPECT_EQ(r.vrednosti[3].toDate(), QDate(2023, 3, 5));
  EXPECT_EQ(r.vrednosti[4].typeId(), QMetaType::QDate);
  EXPECT_FALSE(r.vrednosti[4].toDate().isValid());
  EXPECT_DOUBLE_EQ(r.vrednosti[6].toDouble(), 1234.5);
  EXPECT_EQ(r.vrednosti[7].toString(), u8("Đorđević d.o.o."));
}

TEST(KorvanmanModel, IdsAnswers) {
  struct Case {
    const char* dir;
    QByteArray answer;
    QList<qint64> ids;
    QStringList skipped;
    const char* problem;
  };
  for (const Case& c : {
           Case{"I", R"({"SalesInvoiceIds":[3,1,"2"]})", {3, 1, 2}, {}, ""},
           Case{"U", R"({"PurchaseInvoiceIds":[]})", {}, {}, ""},
           Case{"U", R"({"PurchaseInvoiceIds":[9,1.5,-4,"x1",0,"12",true,null,{"a":1}]})", {9, 12},
                {"1.5", "-4", "x1", "0", "true", "null", "{\"a\":1}"}, ""},
           Case{"I", R"({"PurchaseInvoiceIds":[1]})", {}, {}, "Greška pri obradi odgovora servera: Ne postoji 'SalesInvoiceIds'!"},
           Case{"U", R"({"ErrorCode":"E1","Message":"Bad key"})", {}, {},
                "Greška pri obradi odgovora servera: Ne postoji 'PurchaseInvoiceIds'!"},
           Case{"I", "<html>502</html>", {}, {}, "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!"},
       }) {
    SCOPED_TRACE(c.answer.toStdString());
    const Ids got = readIds(c.answer, c.dir);
    EXPECT_EQ(got.ids, c.ids);
    EXPECT_EQ(got.skipped, c.skipped);
    EXPECT_EQ(got.problem, u8(c.problem));
  }
}

TEST(KorvanmanModel, ChangesCollectEachIdOncePerCompany) {
  QList<Promena> list;
  Changes c = readChanges(R"([{"SalesInvoiceId":5},{"SalesInvoiceId":6},{"SalesInvoiceId":5}])", "I", "101", "K", list);
  EXPECT_TRUE(c.entryProblems.isEmpty());
  EXPECT_TRUE(c.dayProblem.isEmpty());
  c = readChanges(R"([{"SalesInvoiceId":6},{"Other":1},{"SalesInvoiceId":""},{"SalesInvoiceId":"7"},{"SalesInvoiceId":2.5}])",
                  "I", "101", "K", list);
  EXPECT_EQ(c.entryProblems, QStringList{u8("Greška pri obradi odgovora servera: Ne postoji 'SalesInvoiceId'!")});
  EXPECT_EQ(c.skipped, QStringList{"2.5"});
  EXPECT_EQ(list, (QList<Promena>{{5, "101", "K"}, {6, "101", "K"}, {7, "101", "K"}}));
  // Another company's entry with the same id is its own.
  readChanges(R"([{"PurchaseInvoiceId":5}])", "U", "202", "L", list);
  EXPECT_EQ(list.size(), 4);
}

TEST(KorvanmanModel, ADayCountsAsReadOnlyForAList) {
  struct Case {
    QByteArray answer;
    const char* problem;
  };
  for (const Case& c : {Case{"[]", ""},
                        Case{R"({"ErrorCode":"Unauthorized","Message":"Pogrešan ključ"})",
                             "Greška pri obradi odgovora servera: nije dobijena lista promena (Pogrešan ključ)"},
                        Case{R"({"ErrorCode":"E9"})", "Greška pri obradi odgovora servera: nije dobijena lista promena (E9)"},
                        Case{"not json", "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!"}}) {
    SCOPED_TRACE(c.answer.toStdString());
    QList<Promena> list;
    EXPECT_EQ(readChanges(c.answer, "I", "1", "K", list).dayProblem, u8(c.problem));
    EXPECT_TRUE(list.isEmpty());
  }
}

TEST(KorvanmanModel, FoldersAndFileNames) {
  G_ISUTF8(true);
  EXPECT_EQ(folder(""), "");
  EXPECT_EQ(folder("/srv/e"), "/srv/e/");
  EXPECT_EQ(folder("C:\\Fakture\\"), "C:/Fakture/");
  EXPECT_EQ(dateFolder("/b/", "I", QDate(2023, 3, 5)), "/b/IZLAZNI/2023-03-05");
  EXPECT_EQ(dateFolder("/b/", "U", QDate()), "/b/ULAZNI/0000-00-00");

  struct Case {
    const char* stored;
    const char* cleaned;
  };
  for (const Case& c : {Case{"Đorđević d.o.o.   ", "DJordjevic d.o.o."}, Case{"Čačak/Šabac", "Cacak-Sabac"},
                        Case{"A\\B", "A-B"}, Case{"<Kupac> | \"Jug\": 1?*", "Kupac  Jug 1"},
                        Case{"Tab\tNovi\nred", "TabNovired"}, Case{"Ђорђе", "DJordje"}, Case{"  ", ""},
                        Case{"<>|", ""}}) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(partner(u8(c.stored)), u8(c.cleaned));
  }
  const QList<Fajl> f = fajlovi(7001, u8("Đorđević d.o.o."));
  ASSERT_EQ(f.size(), 3);
  EXPECT_EQ(f[0].element, "cbc:EmbeddedDocumentBinaryObject");
  EXPECT_EQ(f[0].name + "." + f[0].extension, "7001 DJordjevic d.o.o..pdf");
  EXPECT_EQ(f[1].element, "env:DocumentPdf");
  EXPECT_EQ(f[1].name + "." + f[1].extension, "7001_generic DJordjevic d.o.o..pdf");
  EXPECT_EQ(f[2].element, "");
  EXPECT_EQ(f[2].name + "." + f[2].extension, "7001 DJordjevic d.o.o..xml");
  EXPECT_EQ(fajlovi(8, "")[1].name, "8_generic");
}

}  // namespace
}  // namespace korvan::kman
