// The free entry window's workbook import with the real office suite: an
// .xlsx of the fixed layout made by openpyxl at test time, read into the grid.
#include <QProcess>

#include "office_fixture.h"
#include "slobun_fixture.h"

using namespace korvan;
using namespace korvan::test;

namespace {

// Rows 1 to 4 used: a header and three lines (a whole-number and a decimal
// code held as numbers, a rate held as the fraction of a percentage cell).
const char* kMakeWorkbook = R"(
import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
for col, text in (('C', 'Sifra'), ('AZ', 'Naziv'), ('BA', 'JM'), ('E', 'Kol'), ('T', 'Cena'), ('J', 'Rabat'), ('AB', 'PDV')):
    ws[col + '1'] = text
rows = [('A-1', 'Olovka', 'kom', 3, 100, 10, 20), (12345, 'Gumica', 'kg', 2.5, 4, None, 10),
        (12.6, 'Papir A4', None, 1, 3.25, None, 0.2)]
for r, values in enumerate(rows, start=2):
    for col, v in zip(('C', 'AZ', 'BA', 'E', 'T', 'J', 'AB'), values):
        if v is not None:
            ws[col + str(r)] = v
ws['AB4'].number_format = '0%'
wb.save(sys.argv[1])
)";

using SlobunOffice = OfficeWindowTest<SlobunTest>;

TEST_F(SlobunOffice, AnXlsxOfTheFixedLayoutFillsTheGrid) {
  REQUIRE_OFFICE_WINDOW();
  const QString path = work + "/stavke.xlsx";
  QProcess py;
  py.start("/usr/bin/python3", {"-c", kMakeWorkbook, path});
  ASSERT_TRUE(py.waitForFinished(60000));
  if (py.exitCode() != 0 || !QFileInfo::exists(path)) {
    if (qEnvironmentVariable("CI") == "true") FAIL() << "python3-openpyxl is missing in CI";
    GTEST_SKIP() << "/usr/bin/python3 with openpyxl is missing: " << py.readAllStandardError().toStdString();
  }

  MySLOBUN* w = open(true);
  w->oleKOMIT_NAZIV->setText("Kupac doo");
  files.answers << QStringList{path};
  w->obIMP_YT->click();
  ASSERT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
  ASSERT_EQ(w->oTABELA->rowCount(), 3);
  const QList<QStringList> expected = {
      {"A-1", "Olovka", "", "kom", "3,000", "100,0000", "300,00", "10,00", "20,00", "270,00", "324,00"},
      {"12345", "Gumica", "", "kg", "2,500", "4,0000", "10,00", "", "10,00", "10,00", "11,00"},
      {"13", "Papir A4", "", "", "1,000", "3,2500", "3,25", "", "0,20", "3,25", "3,26"},
  };
  const QStringList fields = {"ART_SIFRA", "ART_NAZIV", "ART_BARKOD", "ART_JMERE", "KOLICINA", "CENB",
                              "VREDB",     "RABATP",    "STOPA",      "OSN",       "VREDP"};
  for (int r = 1; r <= 3; ++r) {
    SCOPED_TRACE(r);
    QStringList got;
    for (const QString& f : fields) got << cell(w, r, f.toLatin1().constData());
    EXPECT_EQ(got, expected[r - 1]);
  }
  EXPECT_EQ(total(w), "Ukupno: " + QString(12, ' ') + "338,26");
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "Kupac doo");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  expectOfficeGoesWith(w, work);
}

}  // namespace
