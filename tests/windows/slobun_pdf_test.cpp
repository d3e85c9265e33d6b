// The free-entry printout as pdftotext reads it back.
#include <QProcess>

#include "common/words.h"
#include "slobun_fixture.h"

using namespace korvan;
using namespace korvan::test;

namespace {

QString pdfText(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {"-layout", pdf, "-"});
  if (!p.waitForFinished(60000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

class SlobunPdf : public SlobunTest {
 protected:
  MySLOBUN* twoRates(const QString& year = "2022") {
    MySLOBUN* w = open(false);
    w->oleGODINA->setText(year);
    w->oleBRDOK->setText(" 15 ");
    w->oleKOMIT_NAZIV->setText(QString::fromUtf8("Kupac Ćirić"));
    w->oleKOMIT_PIB->setText("101112131");
    w->oleKOMIT_MESTO->setText("Beograd");
    w->oleKOMIT_POST_BROJ->setText("11000");
    w->oleNAPOMENA->setText("Hvala na poverenju");
    w->oleOPERATER->setText("Ana");
    type(w, 1, "ART_NAZIV", "Olovka");
    type(w, 1, "KOLICINA", "2");
    type(w, 1, "CENB", "100");
    type(w, 3, "ART_NAZIV", "Knjiga");
    type(w, 3, "STOPA", "10");
    type(w, 3, "VREDP", "55");
    type(w, 4, "ART_NAZIV", "Gumica");
    type(w, 4, "KOLICINA", "1");
    type(w, 4, "CENB", "10");
    return w;
  }
};

TEST_F(SlobunPdf, ATwoRateInvoiceReadsBackInItsBlocks) {
  MySLOBUN* w = twoRates();
  const QString file = w->NAPRAVI_PDF(true);
  ASSERT_EQ(file, tmp("2022 15.pdf"));
  const QString text = pdfText(file);
  ASSERT_FALSE(text.isEmpty());
  const QStringList order = {"Prodavac & Sin d.o.o.", "Kupac: ", QString::fromUtf8("Tekući račun: 160-0000000123456-78"),
                             QString::fromUtf8("Račun br. 15 /2022"), "Mesto i datum izdavanja:",
                             QString::fromUtf8("Rok plaćanja:"), "Olovka", "Knjiga", "Gumica",
                             QString::fromUtf8("Opšta stopa PDV-a"), "Posebna stopa PDV-a",
                             QString::fromUtf8("Ukupno za plaćanje:"), "Slovima:", "Napomena:", "Odgovorno lice:"};
  // Blanks as pdftotext lays them out count once.
  const QString flat = text.simplified();
  qsizetype at = 0;
  for (const QString& t : order) {
    const qsizetype found = flat.indexOf(t.simplified(), at);
    EXPECT_GE(found, 0) << t.toStdString() << " missing or out of order";
    if (found >= 0) at = found;
  }
  EXPECT_FALSE(text.contains("JBKJS")) << "six buyer rows without it";
  EXPECT_FALSE(text.contains(QString::fromUtf8("Narudžbenica"))) << "empty references are left out";
  EXPECT_FALSE(text.contains(QString::fromUtf8("Oslobođeno")));
  EXPECT_TRUE(text.contains("11000 Beograd"));
  // 240 + 55 + 12: the total as the window shows it, and in words.
  EXPECT_TRUE(qobject_cast<QLabel*>(w->oTABELA_ISPOD.data())->text().endsWith("307,00"));
  EXPECT_TRUE(text.contains("307,00"));
  EXPECT_TRUE(text.simplified().contains(("Slovima: " + SLOVIMA(307)).simplified())) << text.toStdString();
  EXPECT_TRUE(text.contains("Hvala na poverenju"));
}

TEST_F(SlobunPdf, ATypedYearStaysInsideTmp) {
  MySLOBUN* w = twoRates("../x");
  w->oleKOMIT_JBKJS->setText("J123");
  const QString file = w->NAPRAVI_PDF(true);
  EXPECT_EQ(file, tmp("..-x 15.pdf"));
  EXPECT_TRUE(QFileInfo::exists(file));
  const QString text = pdfText(file);
  EXPECT_TRUE(text.simplified().contains(QString::fromUtf8("Račun br. 15 /../x"))) << "the title keeps the texts as typed";
  EXPECT_TRUE(text.contains("JBKJS:"));
  EXPECT_EQ(QDir(GETAPPPATH()).entryList({"*.pdf"}, QDir::Files), QStringList{});
  EXPECT_EQ(QDir(dir.path()).entryList({"*.pdf"}, QDir::Files), QStringList{});
}

}  // namespace
