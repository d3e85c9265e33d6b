// The e-invoice engine in a program of its own, linked without Qt Widgets and
// run without a GUI application: an invoice of plain values is built and its
// document written, and a refusal comes back as a value.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "einvoice/invoiceinput.h"
#include "einvoice/ublwriter.h"

using namespace korvan;

namespace {

InvoiceInput invoice(const QString& folder) {
  InvoiceInput in{.brdok = "R-1/2022",
                  .datumIzdavanja = QDate(2022, 12, 14),
                  .valutaPlacanja = QDate(2022, 12, 29),
                  .datumPrometa = QDate(2022, 12, 14),
                  .buyer = {.naziv = "Kupac", .pib = "101112131", .matbroj = "07654321"},
                  .seller = {.naziv = "Prodavac", .pib = "100200300", .matbroj = "08765432",
                             .ziro = "160-1", .vatRegistered = true},
                  .namedAfter = folder + "/Racun.xlsx"};
  in.lines = {InvoiceLineText{.ART_NAZIV = "Roba", .KOLICINA = "2", .CENB = "10,005", .STOPA = "20"}};
  return in;
}

TEST(EngineWithoutWidgets, BuildsAndWritesAnInvoiceFromPlainValues) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const InvoiceBuild b = buildInvoice(invoice(dir.path()));
  ASSERT_TRUE(b.record) << b.refusal.toStdString();
  EXPECT_EQ(b.record->cFN_XML_FULL, dir.filePath("Racun.xml"));
  EXPECT_EQ(UBL_AMOUNT(b.record->WVREDB) + "|" + UBL_AMOUNT(b.record->WVREDP), "20.01|24.01");
  QFile doc(b.record->cFN_XML_FULL);
  ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
  EXPECT_TRUE(doc.readAll().contains("<cbc:PayableAmount currencyID=\"RSD\">24.01</cbc:PayableAmount>"));
}

TEST(EngineWithoutWidgets, ARefusalIsAValue) {
  QTemporaryDir dir;
  InvoiceInput in = invoice(dir.path());
  in.lines[0].CENB = "#DIV/0!";
  in.captions.insert("CENB", "Cena");
  const InvoiceBuild b = buildInvoice(in);
  EXPECT_FALSE(b.record);
  EXPECT_EQ(b.refusal, QString::fromUtf8("U 1. redu tabele, u koloni \"Cena\", formula daje grešku (#DIV/0!)!\n"
                                         "XML fajl nije napravljen."));
  EXPECT_FALSE(QFile::exists(dir.filePath("Racun.xml")));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
