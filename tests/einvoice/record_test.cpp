// The record's defaults and its two helpers that copy the files and check the parties.
#include "common/presenter.h"
#include "einvoice/myeracun.h"
#include "fixture.h"
#include "platform/shell.h"
#include "support/scriptedpresenter.h"
#include "support/recordingshell.h"

using namespace korvan;
using namespace korvan::test;

namespace {

TEST(Record, DefaultsOfANewRecord) {
  MyERACUN r;
  EXPECT_EQ(&r.New(), &r);
  EXPECT_EQ(r.cNOVCANA_VALUTA, "RSD");
  EXPECT_EQ(r.cFIRMA_OBVPDV, "D");
  EXPECT_EQ(r.cKOMIT_OBVPDV, "D");
  EXPECT_EQ(r.nPOSREDNIK, 1);
  EXPECT_TRUE(r.cBRDOK.isNull());
  EXPECT_TRUE(r.dDATUM_IZDAVANJA.isNull());
  EXPECT_TRUE(r.aPDV.isEmpty());
  EXPECT_TRUE(r.aPROMENE.isEmpty());
  EXPECT_EQ(r.WVREDB, 0);
  EXPECT_FALSE(r.aATTACH.has_value());
  EXPECT_EQ(AERACUNI_POSREDNIK().value(0), "Ministarstvo finansija");
}

TEST(Record, CopyPutsPdfAndDocumentIntoTheFolderAndOpensIt) {
  QTemporaryDir dir;
  QDir().mkpath(dir.filePath("out"));
  MyERACUN r;
  r.cFN_PDF_FULL = dir.filePath("R.pdf");
  r.cFN_XML_FULL = dir.filePath("R.xml");
  writeFile(r.cFN_PDF_FULL, fakePdf());
  writeFile(r.cFN_XML_FULL, "<Invoice/>");
  const QDateTime old = QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5));
  {
    QFile f(r.cFN_PDF_FULL);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(old, QFileDevice::FileModificationTime);
  }
  ScriptedPresenter boxes;
  RecordingShell opened;
  EXPECT_TRUE(r.KOPIRAJ(dir.filePath("out")));
  EXPECT_EQ(readFile(dir.filePath("out/R.pdf")), fakePdf());
  EXPECT_EQ(readFile(dir.filePath("out/R.xml")), "<Invoice/>");
  EXPECT_EQ(QFileInfo(dir.filePath("out/R.pdf")).lastModified(), old);
  ASSERT_EQ(opened.calls.size(), 1);
  EXPECT_EQ(opened.calls[0].target, dir.filePath("out"));
  EXPECT_TRUE(boxes.shown.isEmpty());

  // Into the files' own folder: nothing is truncated.
  EXPECT_TRUE(r.KOPIRAJ(dir.path(), true));
  EXPECT_EQ(readFile(r.cFN_PDF_FULL), fakePdf());
  EXPECT_EQ(opened.calls.size(), 1);

  EXPECT_FALSE(r.KOPIRAJ(dir.filePath("nema")));
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Greška pri kopiranju u folder:\n") + dir.filePath("nema")});
}

TEST(Record, PreCheckListsMissingNumbersAndAsks) {
  MyERACUN r;
  r.cFIRMA_PIB = "1";
  r.cFIRMA_MATBROJ = "2";
  r.cKOMIT_PIB = "3";
  ScriptedPresenter boxes;
  boxes.answers = {0};
  EXPECT_FALSE(r.PretKontrola());
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::YesNo);
  EXPECT_EQ(boxes.shown[0].text,
            QString::fromUtf8("Moguće greške koje će Vam vratiti sajt pri pokušaju slanja eRačuna:\n"
                              "Nije unet MATIČNI BROJ kupca\n"
                              "Za javna preduzeća: Nije unet JBKJS kupca (unosi se u 'Dodatnim podacima', kod matičnih "
                              "podataka kupca)\n"
                              "Za javna preduzeća: Nije unet UGOVOR kupca (unosi se u 'Dodatnim podacima', kod matičnih "
                              "podataka kupca)\n"
                              "Da li sigurno želite da napravite eRačun?"));
  r.cKOMIT_MATBROJ = "4";
  r.cKOMIT_JBKJS = "5";
  r.cUGOVOR = "6";
  EXPECT_TRUE(r.PretKontrola());
  EXPECT_EQ(boxes.shown.size(), 1);
}

}  // namespace
