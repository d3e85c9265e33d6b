// Recording a sent invoice from its status answer.
#include "efmdb_fixture.h"

#include "common/msg.h"
#include "einvoice/myeracun.h"

#include <QFile>

using namespace korvan;
using namespace korvan::efmdbtest;

namespace {

const QStringList kFields = {"UI", "INV_ID", "BRDOK", "TIPDOK", "STATUS", "KOMITENT", "IZNOS",
                             "DATPROM", "DATIZD", "DATDOSP", "XML", "ODOBRENO", "NACINODOBR", "RAZLOGODB"};

class Send : public Store {
 protected:
  void SetUp() override {
    Store::SetUp();
    xml = dir.filePath("R-15.xml");
    QFile f(xml);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(u8("<Invoice><cbc:ID>R-15/2022</cbc:ID><Note>Đurđevdan</Note></Invoice>").toUtf8());
    record.cBRDOK = "R-15/2022";
    record.cKOMIT_NAZIV = u8("Kupac Šabac d.o.o.");
    record.WZA_UPLATU = 1234.565;
    record.dDATUM_PROMETA = QDate(2022, 12, 13);
    record.dDATUM_IZDAVANJA = QDate(2022, 12, 14);
    record.dVALUTA_PLACANJA = QDate(2022, 12, 29);
  }
  QStringList row(const char* status) const {
    return {"I", EFMDB_ID20(4711), padded("R-15/2022", 30), padded("", 10), padded(u8(status), 10),
            padded(u8("Kupac Šabac d.o.o."), 40), "       1234.57", "20221213", "20221214", "20221229",
            u8("<Invoice><cbc:ID>R-15/2022</cbc:ID><Note>Đurđevdan</Note></Invoice>"), "  ", padded("", 20),
            padded("", 30)};
  }
  QString xml;
  MyERACUN record;
};

TEST_F(Send, ANewIdBecomesAnOutgoingRowWithTheTranslatedStatus) {
  EFMDB_OK_ODGOVOR_U_BAZU({}, xml, R"({"InvoiceId": 4711, "Status": "Seen", "Comment": null})", record);
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
  EXPECT_EQ(rows("INVOICE", kFields), QList<QStringList>{row("Viđeno")});
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
  EXPECT_FALSE(dbf::isUsed("FALS"));
}

TEST_F(Send, AnUnknownStatusAfterAFailedStatusCallStillRecordsTheId) {
  EFMDB_OK_ODGOVOR_U_BAZU({}, xml, R"({"InvoiceId": 4711, "Status": "Unknown"})", record);
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_EQ(rows("INVOICE", kFields), QList<QStringList>{row("Unknown")});
}

TEST_F(Send, AnUnknownStatusDoesNotReplaceTheStatusARowHolds) {
  makeStore();
  addRow("I", 4711, {{"STATUS", "Poslato"}});
  EFMDB_OK_ODGOVOR_U_BAZU({}, xml, R"({"InvoiceId": 4711, "Status": "Unknown"})", record);
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_EQ(rows("INVOICE", kFields), QList<QStringList>{row("Poslato")});
}

TEST_F(Send, AnExistingIdIsOverwrittenAndKeepsItsTypeAndTheUsersFields) {
  makeStore();
  addRow("U", 4711, {{"BRDOK", "ulazna"}});
  addRow("I", 4711, {{"BRDOK", "stari"}, {"TIPDOK", u8("Račun")}, {"STATUS", "Poslato"}, {"IZNOS", 5.0},
                     {"XML", "<stari/>"}, {"ODOBRENO", "Da"}, {"NACINODOBR", u8("Lično")}, {"RAZLOGODB", "x"}});
  EFMDB_OK_ODGOVOR_U_BAZU({}, xml, R"({"InvoiceId": "4711", "Status": "Approved"})", record);
  EXPECT_TRUE(boxes.shown.isEmpty());
  const QList<QStringList> got = rows("INVOICE", kFields);
  ASSERT_EQ(got.size(), 2);
  EXPECT_EQ(got[0][2].trimmed(), "ulazna");
  QStringList want = row("Odobreno");
  want[3] = padded(u8("Račun"), 10);
  want[11] = "Da";
  want[12] = padded(u8("Lično"), 20);
  want[13] = padded("x", 30);
  EXPECT_EQ(got[1], want);
}

TEST_F(Send, ALockedRowIsReportedAndLeftAsItWas) {
  makeStore();
  addRow("I", 4711, {{"BRDOK", "stari"}});
  auto holder = other("INVOICE");
  holder->go(1);
  ASSERT_TRUE(holder->lock());
  EFMDB_OK_ODGOVOR_U_BAZU({}, xml, R"({"InvoiceId": 4711, "Status": "Sent"})", record);
  EXPECT_EQ(boxes.texts(), QStringList{ERR_LOCK()});
  EXPECT_EQ(waits, QList<double>(8, 0.5));  // eight tries, half a second apart
  holder->close();
  EXPECT_EQ(rows("INVOICE", {"BRDOK", "STATUS"}), (QList<QStringList>{{padded("stari", 30), padded("", 10)}}));
  EXPECT_FALSE(dbf::isUsed("INVOICE"));
}

TEST_F(Send, AnswersThatCannotBeRecordedSayWhyAndRecordNothing) {
  const struct {
    const char* answer;
    const char* message;
  } cases[] = {
      {"<html>502</html>", "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!"},
      {"", "Greška pri obradi odgovora servera: Odgovor nije JSON fajl!"},
      {R"({"Status": "Sent"})", "Greška pri obradi odgovora servera: Ne postoji tag 'InvoiceId'!"},
      {R"({"InvoiceId": 5})", "Greška pri obradi odgovora servera: Ne postoji tag 'Status'!"},
      {R"([1, 2])", "Greška pri obradi odgovora servera: Ne postoji tag 'InvoiceId'!"},
      {R"({"ErrorCode": "Unauthorized", "Message": "Pogrešan API ključ"})",
       "Greška pri obradi odgovora servera: Ne postoji tag 'InvoiceId'!\nOdgovor servera: Pogrešan API ključ"},
      {R"({"InvoiceId": 5, "ErrorCode": "E17"})",
       "Greška pri obradi odgovora servera: Ne postoji tag 'Status'!\nOdgovor servera: E17"},
      {R"({"InvoiceId": 5.5, "Status": "Sent"})", "Greška pri obradi odgovora servera: Neispravan tag 'InvoiceId'!"},
      {R"({"InvoiceId": "5 OR 1", "Status": "Sent"})", "Greška pri obradi odgovora servera: Neispravan tag 'InvoiceId'!"},
      {R"({"InvoiceId": -3, "Status": "Sent"})", "Greška pri obradi odgovora servera: Neispravan tag 'InvoiceId'!"},
      {R"({"InvoiceId": 5, "Status": null})", "Greška pri obradi odgovora servera: Neispravan tag 'Status'!"},
  };
  for (const auto& c : cases) {
    boxes.shown.clear();
    EFMDB_OK_ODGOVOR_U_BAZU({}, xml, u8(c.answer), record);
    EXPECT_EQ(boxes.texts(), QStringList{u8(c.message)}) << c.answer;
  }
  EXPECT_TRUE(rows("INVOICE", {"INV_ID"}).isEmpty());
}

TEST_F(Send, AnAmountTooLargeForTheFieldIsReportedAndTheRestRecorded) {
  makeStore();
  addRow("I", 4711, {{"IZNOS", 5.0}});
  record.WZA_UPLATU = 1.0e12;
  EFMDB_OK_ODGOVOR_U_BAZU({}, xml, R"({"InvoiceId": 4711, "Status": "Sent"})", record);
  EXPECT_EQ(boxes.texts(),
            QStringList{u8("Iznos 1000000000000.00 e-fakture 4711 ne staje u polje IZNOS, iznos nije upisan !")});
  QStringList want = row("Poslato");
  want[6] = "          5.00";  // the amount stored before stays
  EXPECT_EQ(rows("INVOICE", kFields), QList<QStringList>{want});
}

TEST_F(Send, AMissingDocumentIsReportedAndTheRowRecordedWithoutIt) {
  EFMDB_OK_ODGOVOR_U_BAZU({}, dir.filePath("nema.xml"), R"({"InvoiceId": 9, "Status": "Sent"})", record);
  EXPECT_EQ(boxes.texts(), QStringList{"NE POSTOJI DOKUMENT " + dir.filePath("nema.xml")});
  EXPECT_EQ(rows("INVOICE", {"INV_ID", "STATUS", "XML"}),
            (QList<QStringList>{{EFMDB_ID20(9), padded("Poslato", 10), ""}}));
}

}  // namespace
