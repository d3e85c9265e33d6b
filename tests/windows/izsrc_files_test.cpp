// Choosing the workbook and the PDF, the PDF twin beside the workbook, the
// export offer, and the attachment list.
#include <QDialog>
#include <QTimeZone>

#include "izsrc_fixture.h"
#include "ui/modal.h"

using namespace korvan;
using namespace korvan::test;

namespace {

QString patterns(const FileDialogRequest& r) { return r.nameFilters.value(0); }

TEST_F(IzsrcTest, ExcelChooserListsTheLastKindFirst) {
  MyIZSRC* w = open(false);
  const QString xlsb = workbook("Faktura 1.XLSB");
  const QString xlsx = workbook("Faktura 2.xlsx");
  files.answers << QStringList{xlsx} << QStringList{xlsb} << QStringList{} << QStringList{};
  w->IZABERI_FAJL(false);
  EXPECT_EQ(iniValue("IZXLS", "XLS_aFILTER"), ".xlsx");
  w->IZABERI_FAJL(false);
  EXPECT_EQ(iniValue("IZXLS", "XLS_aFILTER"), ".XLSB") << "as the path spells it";
  w->IZABERI_FAJL(false);
  WRITEPRIVATEPROFILESTRING("IZXLS", "XLS_aFILTER", ".XlsX", ini);
  w->IZABERI_FAJL(false);
  ASSERT_EQ(files.requests.size(), 4);
  const QString xlsFirst = "*.xls *.XLS *.xlsx *.XLSX *.xlsb *.XLSB";
  const QString xlsxFirst = "*.xlsx *.XLSX *.xls *.XLS *.xlsb *.XLSB";
  EXPECT_EQ(patterns(files.requests[0]), xlsFirst) << "no filter remembered yet";
  EXPECT_EQ(patterns(files.requests[1]), xlsxFirst);
  EXPECT_EQ(patterns(files.requests[2]), xlsFirst) << "after an .xlsb";
  EXPECT_EQ(patterns(files.requests[3]), xlsxFirst) << "any letter case";
  EXPECT_EQ(files.requests[0].title, "Izaberite fajl");
  EXPECT_EQ(w->cFAJL_SRC, xlsb);
  EXPECT_EQ(books.opened.size(), 0) << "choosing alone reads nothing";
}

struct Refusal {
  bool ods;
  bool pdf;
  const char* name;
  const char* message;  // empty: taken
};

TEST_F(IzsrcTest, ChoosersTakeOnlyTheirKind) {
  const Refusal cases[] = {
      {false, false, "a.ods", "Nije XLS/XLSX fajl!"}, {false, false, "a", "Nije XLS/XLSX fajl!"},
      {false, false, "a.xls", ""},                    {false, false, "a.Xlsx", ""},
      {true, false, "a.xlsx", "Nije ODS fajl!"},      {true, false, "a.ODS", ""},
      {false, true, "a.txt", "Nije PDF fajl!"},       {true, true, "a.PDF", ""},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    MyIZSRC* w = open(c.ods);
    w->cFAJL_SRC = "/before.xls";
    w->cFAJL_PDF = "/before.pdf";
    boxes.shown.clear();
    const QString path = work + "/" + c.name;
    if (c.pdf) writeFile(path, "%PDF-1.4");
    files.answers << QStringList{path};
    const bool taken = w->IZABERI_FAJL(c.pdf);
    EXPECT_EQ(taken, QString(c.message).isEmpty());
    if (!taken) {
      ASSERT_EQ(boxes.texts(), QStringList{c.message});
      EXPECT_EQ(boxes.shown[0].kind, BoxKind::Warning);
      EXPECT_EQ(w->cFAJL_SRC, "/before.xls");
      EXPECT_EQ(w->cFAJL_PDF, "/before.pdf");
    } else if (c.pdf) {
      EXPECT_EQ(w->cFAJL_PDF, path);
      EXPECT_EQ(w->oleFAJL_PDF->text(), path) << "the path as it is";
      EXPECT_EQ(w->cFAJL_SRC, "/before.xls");
    } else {
      EXPECT_EQ(w->cFAJL_SRC, path);
      EXPECT_EQ(w->oleFAJL_SRC->text(), path) << "the path as it is";
      EXPECT_EQ(w->cFAJL_PDF, "") << "a new workbook drops the PDF";
      EXPECT_EQ(w->oleFAJL_PDF->text(), "");
    }
  }
  // Cancelled: nothing changes.
  MyIZSRC* w = open(false);
  w->cFAJL_SRC = "/before.xls";
  EXPECT_FALSE(w->IZABERI_FAJL(false));
  EXPECT_EQ(w->cFAJL_SRC, "/before.xls");

  // A typed PDF name that names no file is not taken.
  w->cFAJL_PDF = "/before.pdf";
  boxes.shown.clear();
  const QString typed = work + "/nema.pdf";
  files.answers << QStringList{typed};
  EXPECT_FALSE(w->IZABERI_FAJL(true));
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoji PDF fajl!\n" + typed});
  EXPECT_EQ(w->cFAJL_PDF, "/before.pdf");
}

TEST_F(IzsrcTest, OlderTimesOfThePdfTwin) {
  const QString src = workbook("r.xlsx"), pdf = work + "/r.pdf";
  const QDateTime t(QDate(2022, 12, 1), QTime(10, 0, 0));
  EXPECT_FALSE(STARIJI_PDF(src, pdf)) << "no PDF";
  writeFile(pdf, "%PDF");
  touch(src, t.addMSecs(700));
  touch(pdf, t.addMSecs(300));
  EXPECT_FALSE(STARIJI_PDF(src, pdf)) << "the same second";
  touch(src, t);
  touch(pdf, t.addSecs(-1));
  EXPECT_TRUE(STARIJI_PDF(src, pdf));
  touch(pdf, t.addSecs(5));
  EXPECT_FALSE(STARIJI_PDF(src, pdf));
  EXPECT_FALSE(STARIJI_PDF(work + "/none.xlsx", pdf));
}

// The night the clocks go back, 02:10 of the second pass is later than 02:50
// of the first one.
TEST_F(IzsrcTest, OlderPdfAcrossTheHourThatRepeats) {
  if (!QTimeZone(QByteArrayLiteral("Europe/Belgrade")).isValid()) GTEST_SKIP() << "no time zone data";
  struct Zone {
    Zone() : had(qEnvironmentVariableIsSet("TZ")), before(qgetenv("TZ")) { qputenv("TZ", "Europe/Belgrade"); }
    ~Zone() { had ? qputenv("TZ", before) : qunsetenv("TZ"); }
    bool had;
    QByteArray before;
  } zone;
  const QString src = workbook("noc.xlsx"), pdf = work + "/noc.pdf";
  writeFile(pdf, "%PDF");
  const QDateTime pdfWritten(QDate(2022, 10, 30), QTime(0, 50), Qt::UTC);  // 02:50 summer time
  const QDateTime srcWritten(QDate(2022, 10, 30), QTime(1, 10), Qt::UTC);  // 02:10 winter time
  touch(pdf, pdfWritten);
  touch(src, srcWritten);
  ASSERT_EQ(QFileInfo(src).lastModified().time(), QTime(2, 10)) << "the zone is in force";
  EXPECT_TRUE(STARIJI_PDF(src, pdf));
  touch(src, pdfWritten.addSecs(-60));
  touch(pdf, srcWritten);
  EXPECT_FALSE(STARIJI_PDF(src, pdf));
}

struct TwinCase {
  const char* name;
  int pdfAgeSeconds;  // negative: the PDF is newer
  QList<int> answers;
  bool asked;
  bool taken;
  bool deleted;
};

TEST_F(IzsrcTest, PdfTwinBesideTheWorkbook) {
  const TwinCase cases[] = {
      {"newer", -60, {}, false, true, false},
      {"same second", 0, {}, false, true, false},
      {"older, use it", 60, {1}, true, true, false},
      {"older, without", 60, {2}, true, false, false},
      {"older, delete", 60, {3}, true, false, true},
      {"older, Esc", 60, {0}, true, false, false},
  };
  for (const TwinCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QString src = workbook(QString("twin %1.xlsx").arg(c.name));
    const QString pdf = work + QString("/twin %1.pdf").arg(c.name);
    writeFile(pdf, "%PDF-1.4 twin");
    const QDateTime t(QDate(2022, 12, 1), QTime(10, 0, 0));
    touch(src, t);
    touch(pdf, t.addSecs(-c.pdfAgeSeconds));
    MyIZSRC* w = open(false);
    boxes.shown.clear();
    boxes.answers = c.answers;
    choose(w, src);
    const bool asked = boxes.count(BoxKind::Choice) == 1;
    EXPECT_EQ(asked, c.asked);
    if (asked) {
      const Box& b = boxes.shown.last();
      EXPECT_EQ(b.text, "PDF fajl je STARIJI od izvornog fajla!");
      EXPECT_EQ(b.title, "Izbor");
      EXPECT_EQ(b.buttons, (QStringList{"Nema veze, koristi stariji PDF fajl", "Bez PDF fajla",
                                        QString::fromUtf8("Obriši stari PDF fajl")}));
    }
    EXPECT_EQ(w->cFAJL_PDF, c.taken ? pdf : QString());
    EXPECT_EQ(w->oleFAJL_PDF->text(), c.taken ? pdf : QString());
    EXPECT_EQ(QFileInfo::exists(pdf), !c.deleted);
    EXPECT_EQ(boxes.count(BoxKind::YesNo), 0) << "a twin exists: no export offer";
  }
}

TEST_F(IzsrcTest, ExportOfferMakesTheTwinFromTheFirstSheet) {
  for (bool ods : {false, true}) {
    SCOPED_TRACE(ods ? "ODS" : "XLS");
    const QString src = workbook(ods ? "izvoz.ods" : "izvoz.xls");
    const QString pdf = work + "/izvoz.pdf";
    QFile::remove(pdf);
    MyIZSRC* w = open(ods);
    boxes.shown.clear();
    boxes.answers = {1};
    books.exported.clear();
    choose(w, src);
    ASSERT_EQ(boxes.shown.size(), 1) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::YesNo);
    EXPECT_EQ(boxes.shown[0].text,
              QString::fromUtf8("Ne postoji pripadajući PDF fajl.\nDa li želite kreiranje PDF fajla?"));
    EXPECT_EQ(books.exported, QStringList{pdf});
    EXPECT_TRUE(readFile(pdf).startsWith("%PDF"));
    EXPECT_EQ(w->cFAJL_PDF, pdf) << "taken at once, without the older-PDF question";
    EXPECT_EQ(books.openNow, 0);

    // A reload never offers the export, and keeps the PDF.
    QFile::remove(pdf);
    boxes.shown.clear();
    w->obRELOAD->click();
    EXPECT_EQ(boxes.shown.size(), 0);
    EXPECT_EQ(w->cFAJL_PDF, pdf);
  }
}

TEST_F(IzsrcTest, DecliningTheExportLeavesNoPdf) {
  const QString src = workbook("bez.xlsx");
  MyIZSRC* w = open(false);
  boxes.answers = {0};
  choose(w, src);
  EXPECT_EQ(boxes.count(BoxKind::YesNo), 1);
  EXPECT_TRUE(books.exported.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(work + "/bez.pdf"));
  EXPECT_EQ(w->cFAJL_PDF, "");
}

TEST_F(IzsrcTest, FailedExportIsTheAutomationErrorAndTakesNoPdf) {
  const QString src = workbook("pokvaren izvoz.xlsx");
  books.book(src).failExport = true;
  MyIZSRC* w = open(false);
  boxes.answers = {1};
  choose(w, src);
  ASSERT_EQ(boxes.count(BoxKind::Warning), 1);
  EXPECT_EQ(boxes.shown.last().text, "export refused\nstoreToURL\nthe office suite did not write the PDF\n{\"" +
                                         work + "/pokvaren izvoz.pdf\", \"calc_pdf_Export\"}");
  EXPECT_EQ(w->cFAJL_PDF, "");
  EXPECT_EQ(books.closed, 1) << "the document is closed after the failure";
  EXPECT_TRUE(w->lUCITANO) << "the values were all read before the export";
}

class IzsrcAttachments : public IzsrcTest {
 protected:
  void SetUp() override {
    IzsrcTest::SetUp();
    src = workbook("prilozi.xlsx");
    writeFile(work + "/prilozi.pdf", "%PDF-1.4 twin");
    a = work + "/a.pdf";
    gone = work + "/gone.png";
    c = work + QString::fromUtf8("/ćelije.csv");
    writeFile(a, "%PDF-1.4 attachment");
    writeFile(c, "a;b\r\n1;2\r\n");
    att = work + "/prilozi.att";
    // The last line has no line end.
    writeFile(att, (a + "\r\n" + gone + "\r\n" + c).toUtf8());
  }
  QString src, a, gone, c, att;
};

TEST_F(IzsrcAttachments, ListIsLoadedWithTheWorkbookAndWrittenBackByPrilozi) {
  MyIZSRC* w = open(false);
  choose(w, src);
  ASSERT_EQ(w->aATTACH.size(), 2) << "the missing file is passed over";
  EXPECT_EQ(w->aATTACH[0].name, "a.pdf");
  EXPECT_EQ(w->aATTACH[0].content, QString::fromLatin1(QByteArray("%PDF-1.4 attachment").toBase64()));
  EXPECT_EQ(w->aATTACH[0].path, a);
  EXPECT_EQ(w->aATTACH[1].name, QString::fromUtf8("ćelije.csv"));
  EXPECT_EQ(boxes.shown.size(), 0);

  // Accepted unchanged: the list file no longer names the missing file.
  whenModal([](QWidget* d) {
    EXPECT_EQ(d->windowTitle(), "Pregled fajlova");
    auto* t = d->findChild<QTableWidget*>();
    EXPECT_EQ(t->rowCount(), 2);
    button(d, "Zapamti")->click();
  });
  w->obPRILOZI->click();
  EXPECT_EQ(readFile(att), (a + "\r\n" + c + "\r\n").toUtf8());

  // The first entry may be deleted here.
  boxes.answers = {1};
  whenModal([](QWidget* d) {
    auto* t = d->findChild<QTableWidget*>();
    t->setCurrentCell(0, 0);
    t->selectRow(0);
    button(d, QString::fromUtf8("Briši (F4)"))->click();
    button(d, "Zapamti")->click();
  });
  w->obPRILOZI->click();
  EXPECT_EQ(readFile(att), (c + "\r\n").toUtf8());
  ASSERT_EQ(w->aATTACH.size(), 1);
  EXPECT_EQ(w->aATTACH[0].name, QString::fromUtf8("ćelije.csv"));

  // Cancelled: the file stays.
  whenModal([](QWidget* d) { button(d, "Odustani")->click(); });
  w->obPRILOZI->click();
  EXPECT_EQ(readFile(att), (c + "\r\n").toUtf8());
}

// Two files of one name (and a line given twice) make one entry each name:
// the later file's, in the place of the first.
TEST_F(IzsrcAttachments, OneEntryForEachName) {
  const QString other = work + "/drugi/a.pdf";
  ASSERT_TRUE(QDir().mkpath(work + "/drugi"));
  writeFile(other, "%PDF-1.4 the other a");
  writeFile(att, (a + "\r\n" + c + "\r\n" + other + "\r\n" + c + "\r\n").toUtf8());
  MyIZSRC* w = open(false);
  choose(w, src);
  ASSERT_EQ(w->aATTACH.size(), 2);
  EXPECT_EQ(w->aATTACH[0].name, "a.pdf");
  EXPECT_EQ(w->aATTACH[0].path, other);
  EXPECT_EQ(w->aATTACH[0].content, QString::fromLatin1(QByteArray("%PDF-1.4 the other a").toBase64()));
  EXPECT_EQ(w->aATTACH[1].path, c);
}

TEST_F(IzsrcAttachments, AByteOrderMarkDoesNotHideTheFirstFile) {
  writeFile(att, "\xEF\xBB\xBF" + (a + "\r\n" + c + "\r\n").toUtf8());
  MyIZSRC* w = open(false);
  choose(w, src);
  ASSERT_EQ(w->aATTACH.size(), 2);
  EXPECT_EQ(w->aATTACH[0].path, a);
  EXPECT_EQ(w->aATTACH[1].path, c);
}

TEST_F(IzsrcAttachments, ListWithLineFeedsAloneAndNoWorkbook) {
  writeFile(att, (a + "\n" + c + "\n").toUtf8());
  MyIZSRC* w = open(true);
  w->obPRILOZI->click();
  EXPECT_EQ(boxes.texts(), QStringList{"Izaberite prvo ODS fajl!"});
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  w->cFAJL_SRC = work + "/prilozi.ods";
  QString path;
  EXPECT_TRUE(w->AUTO_UCITAJ_ATT(path));
  EXPECT_EQ(path, work + "/prilozi.att");
  ASSERT_EQ(w->aATTACH.size(), 2);
  EXPECT_EQ(w->aATTACH[1].path, c);
}

}  // namespace
