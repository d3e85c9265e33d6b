// What the free-entry printout prints, block by block, without a painter.
#include <gtest/gtest.h>

#include "common/words.h"
#include "windows/slobun_grid.h"
#include "windows/slobun_print.h"

using namespace korvan;

namespace {

// A grid row from field texts.
QStringList row(const QList<MyKOLONA>& k, const QList<std::pair<const char*, const char*>>& cells) {
  QStringList r(k.size(), QString());
  for (const auto& [field, text] : cells) r[KOLONA_PO_POLJU(k, field)] = QString::fromUtf8(text);
  return r;
}

StampaUlaz invoice() {
  StampaUlaz in;
  in.firmaNaziv = "Prodavac d.o.o.";
  in.firmaMesto = "Novi Sad";
  in.firmaAdresa = "Bulevar 1";
  in.firmaPib = "100200300";
  in.firmaMatbroj = "08765432";
  in.firmaZiro = "160-123-78";
  in.godina = "2022";
  in.broj = "15";
  in.kupacNaziv = "Kupac";
  in.kupacAdresa = "Ulica 2";
  in.kupacMesto = "Beograd";
  in.kupacPostBroj = "11000";
  in.kupacPib = "101112131";
  in.kupacMatbroj = "07654321";
  in.datumIzdavanja = QDate(2022, 12, 14);
  in.datumPrometa = QDate(2022, 12, 13);
  in.valuta = QDate(2022, 12, 29);
  in.mestoIzdavanja = "Novi Sad";
  in.mestoPrometa = "Beograd";
  in.operater = "Ana";
  in.kolone = SLOBUN_KOLONE(false);
  const auto& k = in.kolone;
  in.redovi = {row(k, {{"ART_NAZIV", "Olovka"}, {"STOPA", "20,00"}, {"OSN", "100,00"}, {"VREDP", "120,00"}}),
               row(k, {{"ART_NAZIV", "Bez vrednosti"}, {"STOPA", "20,00"}}),
               row(k, {{"ART_NAZIV", "Knjiga"}, {"STOPA", "10,00"}, {"OSN", "50,00"}, {"VREDP", "55,00"}}),
               row(k, {{"ART_NAZIV", "Gumica"}, {"STOPA", "20,00"}, {"OSN", "10,01"}, {"VREDP", "12,01"}}),
               row(k, {{"ART_NAZIV", "Izvoz"}, {"OSN", "7,00"}, {"VREDP", "7,00"}})};
  return in;
}

QStringList texts(const StampaBlok& b) {
  QStringList out;
  for (const StampaCelija& c : b.cells) out << c.text;
  return out;
}

TEST(SlobunPrint, ATwoRateInvoiceBlockByBlock) {
  const Stampa s = SLOBUN_STAMPA(invoice());
  ASSERT_EQ(s.blokovi.size(), 8);

  const StampaBlok& seller = s.blokovi[0];
  EXPECT_EQ(seller.frame, "");
  EXPECT_EQ(seller.columns.size(), 3);
  EXPECT_EQ(seller.columns[1].width, "15%");
  EXPECT_EQ(seller.columns[1].align, "R");
  EXPECT_EQ(texts(seller), (QStringList{"Prodavac d.o.o.", "", "", "Novi Sad", "Kupac: ", "Kupac", "Bulevar 1",
                                        "Adresa: ", "Ulica 2", "PIB: 100200300", "Mesto: ", "11000 Beograd",
                                        "MB: 08765432", "PIB: ", "101112131", QString::fromUtf8("Tekući račun: 160-123-78"),
                                        "MB: ", "07654321"}))
      << "six rows without JBKJS";
  EXPECT_EQ(seller.cells[0].size, 12);
  EXPECT_EQ(seller.cells[0].bold, 1);
  EXPECT_EQ(seller.cells[1].size, 10);
  EXPECT_EQ(seller.cells[1].bold, 0);
  EXPECT_EQ(seller.cells[2].size, 0);

  EXPECT_EQ(texts(s.blokovi[1]), (QStringList{QString::fromUtf8("Račun br. 15/2022"), ""}));
  EXPECT_EQ(s.blokovi[1].cells[0].size, 12);
  EXPECT_EQ(texts(s.blokovi[2]),
            (QStringList{"Mesto i datum izdavanja: ", "Novi Sad 14.12.2022", "Mesto i datum prometa dobara i usluga: ",
                         "Beograd 13.12.2022", QString::fromUtf8("Rok plaćanja: "), "29.12.2022"}))
      << "empty order, despatch note and contract print no rows";

  const StampaBlok& lines = s.blokovi[3];
  EXPECT_EQ(lines.frame, "SINGLE");
  EXPECT_DOUBLE_EQ(lines.inner, 0.4);
  EXPECT_DOUBLE_EQ(lines.outer, 0.8);
  ASSERT_EQ(lines.columns.size(), 11);
  EXPECT_EQ(lines.columns[1].head, "Naziv");
  EXPECT_EQ(lines.columns[1].width, "21.74%");
  EXPECT_EQ(lines.columns[1].align, "L");
  EXPECT_EQ(lines.columns[5].head, "Cena bez\nPDV-a");
  EXPECT_EQ(lines.columns[5].align, "R");
  EXPECT_EQ(lines.cells.size(), 4 * 11) << "the line without a value is left out";
  EXPECT_EQ(lines.cells[1].text, "Olovka");
  EXPECT_EQ(lines.cells[1].size, 8);
  EXPECT_EQ(lines.cells[11 + 1].text, "Knjiga");

  EXPECT_EQ(texts(s.blokovi[4]),
            (QStringList{QString::fromUtf8("Opšta stopa PDV-a"), "20", "110,01", "22,00", "132,01",
                         "Posebna stopa PDV-a", "10", "50,00", "5,00", "55,00",
                         QString::fromUtf8("Oslobođeno PDV-a"), "0", "7,00", "0,00", "7,00"}));
  EXPECT_EQ(s.blokovi[4].columns[1].head, "% PDV");
  EXPECT_DOUBLE_EQ(s.ukupno, 194.01);
  EXPECT_EQ(texts(s.blokovi[5]), (QStringList{QString::fromUtf8("Ukupno za plaćanje: "), "194,01"}));
  EXPECT_EQ(s.blokovi[5].cells[1].bold, 1);
  EXPECT_EQ(texts(s.blokovi[6]), QStringList{"Slovima: " + SLOVIMA(194.01)});
  EXPECT_EQ(s.blokovi[6].cells[0].bold, 0);
  EXPECT_EQ(texts(s.blokovi[7]), (QStringList{"Napomena: ", "", "Odgovorno lice: ", "Ana"}));
  // The printed total is the window's.
  EXPECT_EQ(SLOBUN_ZBIR_TEKST(s.ukupno).mid(8).trimmed(), texts(s.blokovi[5])[1]);
}

TEST(SlobunPrint, ConditionalRowsAndOddRates) {
  StampaUlaz in = invoice();
  in.kupacJbkjs = "J123";
  in.kupacPostBroj.clear();
  in.narudzbenica = "N-1";
  in.ugovor = "U-1";
  in.redovi = {row(in.kolone, {{"STOPA", "8,00"}, {"OSN", "10,00"}, {"VREDP", "10,80"}}),
               row(in.kolone, {{"STOPA", "7,50"}, {"OSN", "10,00"}, {"VREDP", "10,75"}})};
  const Stampa s = SLOBUN_STAMPA(in);
  const QStringList seller = texts(s.blokovi[0]);
  EXPECT_EQ(seller.size(), 21) << "seven rows with JBKJS";
  EXPECT_EQ(seller.mid(18), (QStringList{"", "JBKJS: ", "J123"}));
  EXPECT_EQ(seller[11], "Beograd") << "the place alone without a postcode";
  EXPECT_EQ(texts(s.blokovi[2]).mid(6), (QStringList{QString::fromUtf8("Narudžbenica: "), "N-1", "Ugovor: ", "U-1"}));
  EXPECT_EQ(texts(s.blokovi[4]), (QStringList{"", "8", "10,00", "0,80", "10,80", "", "7,5", "10,00", "0,75", "10,75"}));

  in.redovi = {row(in.kolone, {{"ART_NAZIV", "Nula"}, {"STOPA", "20,00"}})};
  const Stampa empty = SLOBUN_STAMPA(in);
  EXPECT_TRUE(empty.blokovi[3].cells.isEmpty()) << "the head only";
  EXPECT_TRUE(empty.blokovi[4].cells.isEmpty());
  EXPECT_EQ(texts(empty.blokovi[5])[1], "0,00");
}

}  // namespace
