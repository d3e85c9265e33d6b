// Reading a workbook into the window through the fake backend: the header
// cells, the line rows, the edge cases of addresses and ranges, and reads
// that fail part-way.
#include "izsrc_fixture.h"

using namespace korvan;
using namespace korvan::test;

namespace {

const QDate kToday(2022, 12, 14);

class IzsrcRead : public IzsrcTest {
 protected:
  SendRecorder sender{[this](QWidget*, const MyERACUN&, const EfmAccount&, const SendSuccessAction&, bool) {
    ++sends;
    return true;
  }};

  // The invoice of the tests, in a workbook of either kind.
  QString invoice(const QString& name) {
    const QString path = workbook(name);
    FakeWorkbooks::Book& b = books.book(path);
    b.put("B1", textCell("15/2022"))
        .put("B2", dateCell(QDate(2022, 11, 30), "30.11.2022"))
        .put("B3", textCell("01.11.2022-30.11.2022"))
        .put("B4", dateCell(QDate(2022, 12, 15), "12/15/22"))
        .put("B5", textCell(" Ana "))
        .put("B6", textCell("NAR-11"))
        .put("B7", textCell("OTP-7"))
        .put("B8", textCell("UG-3"))
        .put("B9", textFormula(QString::fromUtf8("Kupac Ćirić")))
        .put("B10", textCell("Beograd"))
        .put("B11", numberCell(11000))
        .put("B12", textCell(QString::fromUtf8("Kneza Miloša 10")))
        .put("B13", numberCell(123456789))
        .put("B14", textCell("07654321"))
        .put("B16", textCell("nabavka@kupac.rs"));
    // Lines in rows 20 to 22; row 21 is empty.
    b.put("A20", numberCell(201)).put("B20", textCell("Olovka")).put("C20", textCell("kom"));
    b.put("D20", textCell("8600000000017")).put("E20", numberCell(10)).put("F20", textCell("12,5"));
    b.put("G20", numberCell(0.05, "5%")).put("H20", numberCell(0.2, "20%"));
    b.put("A22", textCell("P-4")).put("B22", textCell("Papir")).put("E22", textCell("3"));
    b.put("F22", numberFormula(450.25)).put("G22", numberCell(0)).put("H22", numberCell(10));
    return path;
  }

  static void invoiceSettings(MyIZSRC* w) {
    settings(w, {{"BRDOK", "B1"},         {"DATDOK", "B2"},          {"DATPROM", "B3"},
                 {"VALUTA", "B4"},        {"OPERATER", "B5"},        {"NARUDZBENICA", "B6"},
                 {"OTPREMNICA", "B7"},    {"UGOVOR", "B8"},          {"KOMIT_NAZIV", "B9"},
                 {"KOMIT_MESTO", "B10"},  {"KOMIT_POST_BROJ", "B11"}, {"KOMIT_ADRESA", "B12"},
                 {"KOMIT_PIB", "B13"},    {"KOMIT_MATBROJ", "B14"},  {"KOMIT_JBKJS", "B15"},
                 {"KOMIT_EMAIL", "B16"},  {"POC_RED", "20"},         {"KRAJ_RED", "22"},
                 {"ART_SIFRA", "A"},      {"ART_NAZIV", "B"},        {"ART_JMERE", "C"},
                 {"ART_BARKOD", "D"},     {"KOLICINA", "E"},         {"CENB", "F"},
                 {"RABATP", "G"},         {"STOPA", "H"}});
  }

  int sends = 0;
};

TEST_F(IzsrcRead, HeaderAndLinesInBothKinds) {
  for (bool ods : {false, true}) {
    SCOPED_TRACE(ods ? "ODS" : "XLS");
    const QString src = invoice(ods ? "racun.ods" : "racun.xlsx");
    MyIZSRC* w = open(ods);
    invoiceSettings(w);
    w->odteVALUTA->setDate(QDate(2022, 1, 1));
    choose(w, src);
    EXPECT_EQ(boxes.count(BoxKind::Warning), 0) << boxes.texts().join('|').toStdString();
    EXPECT_TRUE(w->lUCITANO);
    EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
    EXPECT_EQ(w->odteDATDOK->date(), QDate(2022, 11, 30));
    EXPECT_EQ(w->odteDATPROM->date(), QDate(2022, 11, 30)) << "the period's last day";
    // The office-suite kind reads the date as the cell shows it.
    EXPECT_EQ(w->odteVALUTA->date(), ods ? QDate(2022, 1, 1) : QDate(2022, 12, 15));
    EXPECT_EQ(w->oleOPERATER->text(), ods ? " Ana " : "Ana");
    EXPECT_EQ(w->oleNARUDZBENICA->text(), "NAR-11");
    EXPECT_EQ(w->oleOTPREMNICA->text(), "OTP-7");
    EXPECT_EQ(w->oleUGOVOR->text(), "UG-3");
    EXPECT_EQ(w->oleKOMIT_NAZIV->text(), QString::fromUtf8("Kupac Ćirić")) << "a text formula is its text";
    EXPECT_EQ(w->oleKOMIT_POST_BROJ->text(), "11000");
    EXPECT_EQ(w->oleKOMIT_PIB->text(), "123456789");
    EXPECT_EQ(w->oleKOMIT_MATBROJ->text(), "07654321");
    EXPECT_EQ(w->oleKOMIT_JBKJS->text(), "");
    EXPECT_EQ(w->oleKOMIT_EMAIL->text(), "nabavka@kupac.rs");

    ASSERT_EQ(w->oTABELA->rowCount(), 3) << "the empty row 21 is a row too";
    EXPECT_EQ(cell(w, 0, "ART_SIFRA"), "201");
    EXPECT_EQ(cell(w, 0, "ART_NAZIV"), "Olovka");
    EXPECT_EQ(cell(w, 0, "ART_JMERE"), "kom");
    EXPECT_EQ(cell(w, 0, "ART_BARKOD"), "8600000000017");
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "KOLICINA")), 10);
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "CENB")), 12.5);
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "RABATP")), 5) << "a percentage cell";
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "STOPA")), 20);
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "VREDB")), 0) << "no letters";
    EXPECT_EQ(cell(w, 1, "ART_NAZIV"), "");
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 1, "STOPA")), 0);
    EXPECT_EQ(cell(w, 2, "ART_SIFRA"), "P-4");
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 2, "KOLICINA")), 3);
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 2, "CENB")), 450.25);
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 2, "STOPA")), 10);
    for (int r = 0; r < 3; ++r) {
      const QTableWidgetItem* it = w->oTABELA->item(r, 4);
      ASSERT_NE(it, nullptr);
      EXPECT_EQ(it->whatsThis(), QString::number(r + 1));
      EXPECT_TRUE(it->flags() & Qt::ItemIsEditable);
    }
    EXPECT_EQ(books.openNow, 0);
    EXPECT_EQ(books.closed, books.opened.size()) << "every document opened was closed";
  }
}

TEST_F(IzsrcRead, AddressesThatAreNoneAndEmptyCells) {
  const QString src = invoice("rubovi.xlsx");
  books.book(src).put("B1", numberCell(15)).put("C5", textCell("x"));
  MyIZSRC* w = open(false);
  settings(w, {{"BRDOK", "B1"}, {"DATDOK", "B20 "}, {"DATPROM", "Z99"}, {"VALUTA", ""}, {"OPERATER", "C5 "},
               {"UGOVOR", "B8"}});
  w->odteDATDOK->setDate(QDate(2020, 5, 5));
  w->odteDATPROM->setDate(QDate(2021, 6, 6));
  w->odteVALUTA->setDate(QDate(2021, 7, 7));
  w->oleOPERATER->setText("staro");
  w->oleKOMIT_NAZIV->setText("staro");
  choose(w, src);
  EXPECT_EQ(w->oleBRDOK->text(), "15.00") << "an invoice number stored as a number";
  EXPECT_EQ(w->odteDATDOK->date(), kToday) << "a trailing blank: no address";
  EXPECT_EQ(w->odteDATPROM->date(), QDate(2021, 6, 6)) << "an empty cell keeps the date";
  EXPECT_EQ(w->odteVALUTA->date(), kToday);
  EXPECT_EQ(w->oleOPERATER->text(), "");
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "") << "no address: empty";
  EXPECT_EQ(w->oleUGOVOR->text(), "UG-3");
  EXPECT_EQ(w->oTABELA->rowCount(), 0) << "no row range";
}

TEST_F(IzsrcRead, RowRangesAndTheDefaultRate) {
  struct Case {
    const char* first;
    const char* last;
    int rows;
  };
  const Case ranges[] = {{"", "12", 0}, {"0", "12", 0}, {"12", "10", 0}, {"10", "12", 3}, {"20", "20", 1}};
  const QString src = invoice("redovi.xlsx");
  for (const Case& c : ranges) {
    SCOPED_TRACE(std::string(c.first) + ".." + c.last);
    MyIZSRC* w = open(false);
    settings(w, {{"POC_RED", c.first}, {"KRAJ_RED", c.last}, {"KOLICINA", "E"}});
    w->cFAJL_SRC = src;
    w->PREPOZNAJ_VREDNOSTI(true);
    EXPECT_EQ(w->oTABELA->rowCount(), c.rows);
  }
  // Without a rate column every row gets the seller's rate.
  for (const char* obvpdv : {"T", "F"}) {
    writeFile(ini, sellerIni(obvpdv));
    MyIZSRC* w = open(true);
    settings(w, {{"POC_RED", "20"}, {"KRAJ_RED", "22"}, {"KOLICINA", "E"}, {"STOPA", "  "}});
    w->cFAJL_SRC = src;
    w->PREPOZNAJ_VREDNOSTI(true);
    ASSERT_EQ(w->oTABELA->rowCount(), 3);
    for (int r = 0; r < 3; ++r)
      EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, r, "STOPA")), QString(obvpdv) == "T" ? 20 : 0) << obvpdv << r;
  }
}

TEST_F(IzsrcRead, FormulaErrorInANumberCellStaysVisibleInsteadOfZero) {
  const QString src = invoice("greska.xlsx");
  for (const char* shown : {"#DIV/0!", "#VALUE!"}) {
    SCOPED_TRACE(shown);
    platform::Cell e = textFormula(shown);
    e.type = platform::ValueType::Error;
    books.book(src).put("F20", e).put("H22", e);
    MyIZSRC* w = open(false);
    invoiceSettings(w);
    w->cFAJL_SRC = src;
    w->PREPOZNAJ_VREDNOSTI(true);
    ASSERT_EQ(w->oTABELA->rowCount(), 3);
    EXPECT_EQ(cell(w, 0, "CENB"), shown);
    EXPECT_EQ(cell(w, 2, "STOPA"), shown) << "a percent column too";
    EXPECT_DOUBLE_EQ(INTELI_VAL(cell(w, 0, "KOLICINA")), 10) << "other cells as before";
  }
}

TEST_F(IzsrcRead, NoWorkbookStartsNoAutomation) {
  MyIZSRC* w = open(false);
  w->obRELOAD->click();
  w->cFAJL_SRC = work + "/nestao.xlsx";
  w->obRELOAD->click();
  MyIZSRC* o = open(true);
  o->obRELOAD->click();
  EXPECT_EQ(boxes.texts(), (QStringList{"Ne postoji XLS fajl!", "Ne postoji XLS fajl!", "Ne postoji ODS fajl!"}));
  EXPECT_TRUE(books.opened.isEmpty());
}

// The chooser also takes a typed name of a file that does not exist: the
// fields then still hold the previous workbook's values.
TEST_F(IzsrcRead, AWorkbookThatIsNotThereIsNotMadeIntoAnInvoice) {
  const QString src = invoice("prvi.xlsx");
  MyIZSRC* w = open(false);
  invoiceSettings(w);
  choose(w, src);
  ASSERT_TRUE(w->lUCITANO);
  boxes.shown.clear();
  choose(w, work + "/nema ga.xlsx");
  EXPECT_EQ(boxes.texts().value(0), "Ne postoji XLS fajl!");
  EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
  boxes.shown.clear();
  boxes.answers = {1};
  EXPECT_EQ(w->NAPRAVI_XML(false), nullptr);
  EXPECT_TRUE(boxes.texts().value(0).startsWith(QString::fromUtf8("XLS fajl nije učitan do kraja")));
  EXPECT_FALSE(QFileInfo::exists(work + "/nema ga.xml"));
}

// A read that fails at a header cell: what came before stays, what comes
// after keeps its earlier content, one error box, the cursor back, the
// document closed; no invoice until a read succeeds.
TEST_F(IzsrcRead, FailureAtAHeaderCell) {
  writeFile(ini, sellerIni("T") + "API_KLJUC=kljuc\r\n");
  const QString src = invoice("greska.xlsx");
  books.book(src).failAt = platform::CellPos{1, 8};  // B9, the buyer's name
  int busyReads = 0;
  books.onRead = [&] {
    if (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor) ++busyReads;
  };
  MyIZSRC* w = open(false);
  invoiceSettings(w);
  w->oleKOMIT_NAZIV->setText("staro ime");
  w->oleKOMIT_MESTO->setText("staro mesto");
  choose(w, src);
  ASSERT_EQ(boxes.count(BoxKind::Warning), 1);
  EXPECT_EQ(boxes.shown.last().text,
            "IndexOutOfBoundsException\ngetCellByPosition\nthe cell position is not on the sheet\n{\"1\", \"8\"}");
  EXPECT_EQ(boxes.count(BoxKind::YesNo), 0) << "no export offer after a failure";
  EXPECT_GT(busyReads, 0) << "the busy cursor showed during the read";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(books.closed, 1);
  EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
  EXPECT_EQ(w->oleUGOVOR->text(), "UG-3");
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), "staro ime");
  EXPECT_EQ(w->oleKOMIT_MESTO->text(), "staro mesto");
  EXPECT_EQ(w->oTABELA->rowCount(), 0);
  EXPECT_FALSE(w->lUCITANO);

  const QString refusal =
      QString::fromUtf8("XLS fajl nije učitan do kraja, pa podaci na ekranu nisu iz njega!\n"
                        "Ispravite grešku i ponovo učitajte fajl (\"Ponovo učitaj fajl\").");
  boxes.shown.clear();
  boxes.answers = {1, 1};
  w->obPRAVI_XML->click();
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(),
            (QStringList{refusal, refusal, QString::fromUtf8("Desila se greška pri pravljenju XML-a, fajl NIJE POSLAT!")}));
  EXPECT_EQ(sends, 0);
  EXPECT_FALSE(QFileInfo::exists(work + "/greska.xml"));

  // Mended and read again: the invoice can be made.
  books.book(src).failAt.reset();
  boxes.shown.clear();
  boxes.answers = {1};
  w->obRELOAD->click();
  EXPECT_TRUE(w->lUCITANO);
  EXPECT_EQ(w->oleKOMIT_NAZIV->text(), QString::fromUtf8("Kupac Ćirić"));
  w->obSALJI_XML->click();
  EXPECT_EQ(sends, 1) << boxes.texts().join('|').toStdString();
}

TEST_F(IzsrcRead, FailureAtALineCellAndAtTheOpen) {
  const QString src = invoice("linija.ods");
  books.book(src).failAt = platform::CellPos{4, 21};  // E22
  MyIZSRC* w = open(true);
  invoiceSettings(w);
  choose(w, src);
  ASSERT_EQ(boxes.count(BoxKind::Warning), 1);
  EXPECT_TRUE(boxes.shown.last().text.endsWith("{\"4\", \"21\"}"));
  ASSERT_EQ(w->oTABELA->rowCount(), 3) << "the row being read when it failed is there";
  EXPECT_EQ(cell(w, 0, "ART_NAZIV"), "Olovka");
  EXPECT_EQ(cell(w, 2, "ART_NAZIV"), "Papir") << "the cells before the failing one";
  EXPECT_EQ(cell(w, 2, "KOLICINA"), "<none>");
  EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
  EXPECT_FALSE(w->lUCITANO);

  // Another workbook that cannot be opened: the window holds the first one's
  // values, so no invoice is made of them.
  const QString other = workbook("drugi.ods");
  books.book(other).failOpen = true;
  boxes.shown.clear();
  books.book(src).failAt.reset();
  w->cFAJL_SRC = src;
  w->PREPOZNAJ_VREDNOSTI(true);
  ASSERT_TRUE(w->lUCITANO);
  choose(w, other);
  ASSERT_EQ(boxes.count(BoxKind::Warning), 1);
  EXPECT_EQ(boxes.shown.last().text, "no file\nloadComponentFromURL\nthe workbook could not be loaded\n{\"" + other + "\"}");
  EXPECT_EQ(w->oleBRDOK->text(), "15/2022");
  EXPECT_FALSE(w->lUCITANO);
  boxes.answers = {1};
  EXPECT_EQ(w->NAPRAVI_XML(false), nullptr);
}

TEST_F(IzsrcRead, BadColumnLettersAreAnAutomationError) {
  const QString src = invoice("slova.xlsx");
  MyIZSRC* w = open(false);
  settings(w, {{"POC_RED", "20"}, {"KRAJ_RED", "22"}, {"ART_NAZIV", " b "}, {"KOLICINA", "E5"}});
  choose(w, src);
  ASSERT_EQ(boxes.count(BoxKind::Warning), 1);
  EXPECT_TRUE(boxes.shown.last().text.endsWith("{\"-1\", \"19\"}")) << boxes.shown.last().text.toStdString();
  EXPECT_EQ(w->oTABELA->rowCount(), 1);
  EXPECT_EQ(cell(w, 0, "ART_NAZIV"), "Olovka");
}

}  // namespace
