// The free-entry window's document builds: the names in TMP, the checks of
// both modes, the saved buyer and articles, and the send's first step.
#include <QFileInfo>
#include <QThread>

#include "common/dbf/dbftest.h"
#include "einvoice/xmlpaths.h"
#include "support/recordingshell.h"

#include "common/dbf/workarea.h"
#include "slobun_fixture.h"
#include "windows/slobun_tables.h"

using namespace korvan;
using namespace korvan::test;

namespace {

class SlobunXml : public SlobunTest {
 protected:
  // A window with a buyer and two lines, one of them with a value.
  MySLOBUN* typed(bool yt, const QString& year = "2022", const QString& number = "15") {
    MySLOBUN* w = open(yt);
    w->oleGODINA->setText(year);
    w->oleBRDOK->setText(number);
    w->oleKOMIT_PIB->setText("101112131");
    w->oleKOMIT_NAZIV->setText(QString::fromUtf8("Kupac Ćirić"));
    w->oleKOMIT_MESTO->setText("Beograd");
    w->oleKOMIT_ADRESA->setText("Ulica 1");
    w->oleKOMIT_POST_BROJ->setText("11000");
    w->oleUGOVOR->setText("UG-1");
    type(w, 1, "ART_SIFRA", "A1");
    type(w, 1, "ART_NAZIV", "Usluga");
    type(w, 1, "ART_JMERE", "kom");
    type(w, 1, "KOLICINA", "2");
    type(w, 1, "CENB", "100");
    type(w, 2, "ART_NAZIV", "Bez vrednosti");
    return w;
  }
  QList<SlobunKupac> buyers() {
    bool opened = false;
    if (!OTVORI_KOMIT_TABELU(opened)) return {};
    QList<SlobunKupac> all = SVI_KOMITENTI();
    ZATVORI_AKO("KOMIT", opened);
    return all;
  }
  QList<SlobunArtikal> articles() {
    bool opened = false;
    if (!OTVORI_ART_TABELU(opened)) return {};
    QList<SlobunArtikal> all = SVI_ARTIKLI();
    ZATVORI_AKO("ART", opened);
    return all;
  }
  QStringList tmpFiles() const {
    QStringList l = QDir(GETAPPPATH() + "TMP").entryList(QDir::Files);
    l.sort();
    return l;
  }
};

TEST_F(SlobunXml, WorkbookModeNamesTheDocumentAfterYearAndNumber) {
  MySLOBUN* w = typed(true, "2022", " 15 ");
  const std::unique_ptr<MyERACUN> r = w->NAPRAVI_XML(true);
  ASSERT_NE(r, nullptr) << boxes.texts().join("|").toStdString();
  EXPECT_EQ(r->cFN_XML_FULL, tmp("2022 15.xml"));
  EXPECT_EQ(tmpFiles(), QStringList{"2022 15.xml"}) << "no PDF in workbook mode";
  EXPECT_FALSE(readFile(tmp("2022 15.xml")).contains("EmbeddedDocumentBinaryObject"));
  EXPECT_TRUE(readFile(tmp("2022 15.xml")).contains("Usluga"));
  // The buyer and the line with a value were saved; the line without one not.
  const QList<SlobunKupac> k = buyers();
  ASSERT_EQ(k.size(), 1);
  EXPECT_EQ(k[0].naziv, QString::fromUtf8("Kupac Ćirić"));
  EXPECT_EQ(k[0].ugovor, "UG-1");
  const QList<SlobunArtikal> a = articles();
  ASSERT_EQ(a.size(), 1);
  EXPECT_EQ(a[0].sifra, "A1");
  EXPECT_DOUBLE_EQ(a[0].cenb, 100);
  EXPECT_DOUBLE_EQ(a[0].stopa, 20);
}

TEST_F(SlobunXml, TypedTextsNeverLeaveTmp) {
  struct Case {
    const char* year;
    const char* number;
    const char* file;
  };
  const Case cases[] = {
      {"../x", "15", "..-x 15.xml"},
      {"2022", "../../etc/a", "2022 ..-..-etc-a.xml"},
      {"2022", "a\\b", "2022 a-b.xml"},
      {"20:2*2", "1\t5?\"", "2022 15.xml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    MySLOBUN* w = typed(true, QString::fromUtf8(c.year), QString::fromUtf8(c.number));
    const std::unique_ptr<MyERACUN> r = w->NAPRAVI_XML(true);
    ASSERT_NE(r, nullptr) << boxes.texts().join("|").toStdString();
    EXPECT_EQ(r->cFN_XML_FULL, tmp(c.file));
    EXPECT_TRUE(QFileInfo::exists(tmp(c.file)));
    // The document keeps the number as typed.
    EXPECT_EQ(r->cBRDOK.trimmed(), (QString::fromUtf8(c.number) + "/" + QString::fromUtf8(c.year)).trimmed());
    QFile::remove(tmp(c.file));
    w->ZAVRSI(false);
  }
  EXPECT_EQ(QDir(GETAPPPATH()).entryList(QDir::Files), QStringList{"aplik.ini"});
}

TEST_F(SlobunXml, EmptyYearOrNumberStopsTheBuildAfterSaving) {
  struct Case {
    bool yt;
    const char* year;
    const char* number;
    QString message;
  };
  const Case cases[] = {
      {true, "", "15", "Ne sme prazna godina!"},
      {true, "2022", "", QString::fromUtf8("Ne sme prazan broj dokumenta!")},
      {false, "", "15", "Ne sme prazno polje 'Godina'!"},
      {false, "2022", "", "Ne sme prazno polje 'Broj dokumenta'!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    boxes.shown.clear();
    MySLOBUN* w = typed(c.yt, c.year, c.number);
    EXPECT_EQ(w->NAPRAVI_XML(true), nullptr);
    EXPECT_EQ(boxes.texts(), QStringList{c.message}) << "no question follows";
    EXPECT_TRUE(tmpFiles().isEmpty());
    EXPECT_EQ(buyers().size(), 1) << "the buyer is saved before the checks";
    w->ZAVRSI(false);
  }
}

TEST_F(SlobunXml, FreeModePrintsSilentlyAndEmbedsThatPdf) {
  RecordingShell shell;
  MySLOBUN* w = typed(false);
  w->obPRAVI_XML->click();
  EXPECT_EQ(tmpFiles(), (QStringList{"2022 15.pdf", "2022 15.xml"}));
  EXPECT_TRUE(shell.calls.isEmpty()) << "the silent printout is not opened";
  EXPECT_EQ(boxes.count(BoxKind::YesNo), 0);
  const QByteArray pdf = readFile(tmp("2022 15.pdf"));
  ASSERT_TRUE(pdf.startsWith("%PDF"));
  const XmlPaths x(readFile(tmp("2022 15.xml")));
  EXPECT_EQ(QByteArray::fromBase64(
                x.values("Invoice/cac:AdditionalDocumentReference/cac:Attachment/cbc:EmbeddedDocumentBinaryObject")
                    .value(0)
                    .toLatin1()),
            pdf);

  // "Napravi PDF fajl" writes and opens the printout and builds nothing.
  QFile::remove(tmp("2022 15.xml"));
  w->obPRAVI_PDF->click();
  ASSERT_EQ(shell.calls.size(), 1);
  EXPECT_EQ(shell.calls[0].target, tmp("2022 15.pdf"));
  EXPECT_EQ(tmpFiles(), QStringList{"2022 15.pdf"});
}

TEST_F(SlobunXml, APrintoutThatCannotBeWrittenAsksFirst) {
  RecordingShell shell;
  // An older printout of that name, and no room for the new one beside it.
  writeFile(tmp("2022 15.pdf"), "older");
  ASSERT_TRUE(QDir(GETAPPPATH() + "TMP").mkdir(".2022 15.pdf.part"));
  MySLOBUN* w = typed(false);
  w->obPRAVI_PDF->click();
  EXPECT_EQ(boxes.texts(), QStringList{"Nije napravljen PDF fajl!"});
  EXPECT_TRUE(shell.calls.isEmpty()) << "nothing is opened";

  boxes.shown.clear();
  boxes.answers << 0;
  EXPECT_EQ(w->NAPRAVI_XML(true), nullptr);
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].kind, BoxKind::YesNo);
  EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("Nije napravljen PDF fajl!\nDa li sigurno želite pravljenje XML fajla?"));
  EXPECT_FALSE(QFileInfo::exists(tmp("2022 15.xml")));

  boxes.shown.clear();
  boxes.answers << 1;
  const std::unique_ptr<MyERACUN> r = w->NAPRAVI_XML(true);
  ASSERT_NE(r, nullptr) << boxes.texts().join("|").toStdString();
  EXPECT_EQ(r->cFN_XML_FULL, tmp("2022 15.xml"));
  EXPECT_FALSE(readFile(tmp("2022 15.xml")).contains("EmbeddedDocumentBinaryObject")) << "the older file is not this one";
  EXPECT_EQ(readFile(tmp("2022 15.pdf")), "older");
}

TEST_F(SlobunXml, AnEmptyPibSavesNoBuyerButTheArticles) {
  MySLOBUN* w = typed(true);
  w->oleKOMIT_PIB->setText("   ");
  type(w, 3, "ART_NAZIV", "Nula");
  type(w, 3, "KOLICINA", "0");
  ASSERT_NE(w->NAPRAVI_XML(true), nullptr) << boxes.texts().join("|").toStdString();
  EXPECT_TRUE(buyers().isEmpty());
  const QList<SlobunArtikal> a = articles();
  ASSERT_EQ(a.size(), 1) << "rows without a value are not saved";
  EXPECT_EQ(a[0].naziv, "Usluga");
}

TEST_F(SlobunXml, ABuyerHeldByAnotherProcessIsReportedAndTheBuildGoesOn) {
  bool opened = false;
  ASSERT_TRUE(OTVORI_KOMIT_TABELU(opened));
  ASSERT_EQ(UPISI_KOMIT({.naziv = "Stari", .pib = "101112131"}), SlogIshod::Upisan);
  ZATVORI_AKO("KOMIT", opened);
  const QString ready = dir.filePath("ready"), stop = dir.filePath("stop");
  const qint64 child = dbf::test::startChild("SlobunTablesChild.DISABLED_HoldRecord",
                                             {"APP=" + GETAPPPATH(), "READY=" + ready, "STOP=" + stop});
  for (int i = 0; i < 3000 && !QFileInfo::exists(ready); ++i) QThread::msleep(10);
  ASSERT_TRUE(QFileInfo::exists(ready));

  MySLOBUN* w = typed(true);
  EXPECT_NE(w->NAPRAVI_XML(true), nullptr);
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Slog je zaključan !")});
  QFile(stop).open(QIODevice::WriteOnly);
  EXPECT_EQ(dbf::test::waitChild(child), 0);
  ASSERT_EQ(buyers().size(), 1);
  EXPECT_EQ(buyers()[0].naziv, "Stari") << "the held buyer is not written";
  EXPECT_EQ(articles().size(), 1) << "the articles are still saved";
}

TEST_F(SlobunXml, ACellShowingAsterisksStopsTheBuild) {
  for (bool yt : {true, false}) {
    SCOPED_TRACE(yt ? "workbook" : "free");
    boxes.shown.clear();
    MySLOBUN* w = typed(yt);
    // As an import may leave it: a value too large for its column.
    w->lPROGRAMSKI = true;
    w->PISI_VREDNOST("OSN", 1e12, 1);
    w->lPROGRAMSKI = false;
    EXPECT_EQ(w->NE_STAJE(), QString::fromUtf8("U 1. redu tabele, u koloni \"Osnovica PDV-a\", broj ne staje u prikaz (******)!"));
    EXPECT_EQ(w->NAPRAVI_XML(true), nullptr);
    ASSERT_EQ(boxes.shown.size(), 1) << "no question after the refusal";
    EXPECT_TRUE(boxes.shown[0].text.startsWith(w->NE_STAJE()));
    EXPECT_TRUE(tmpFiles().isEmpty());
    w->ZAVRSI(false);
  }
  // The article of that row was saved before the refusal; a price showing
  // asterisks never replaces the stored one.
  ASSERT_EQ(articles().size(), 1);
  MySLOBUN* w = typed(true);
  w->lPROGRAMSKI = true;
  w->PISI_VREDNOST("CENB", 1e9, 1);
  w->lPROGRAMSKI = false;
  ASSERT_TRUE(PICTURE_OVERFLOW(cell(w, 1, "CENB")));
  w->NAPRAVI_XML(true);
  const QList<SlobunArtikal> a = articles();
  ASSERT_EQ(a.size(), 1);
  EXPECT_DOUBLE_EQ(a[0].cenb, 100);
}

TEST_F(SlobunXml, SendingNeedsTheKey) {
  MySLOBUN* w = typed(true);
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Nije unet 'API ključ' u opciji 'Podaci firme'!")});
  EXPECT_TRUE(tmpFiles().isEmpty());
  // With a key, a build that stops says that nothing was sent.
  writeFile(ini, sellerIni("T") + "API_KLJUC=k\r\n");
  boxes.shown.clear();
  w->oleBRDOK->clear();
  w->obSALJI_XML->click();
  EXPECT_EQ(boxes.texts(), (QStringList{QString::fromUtf8("Ne sme prazan broj dokumenta!"),
                                        QString::fromUtf8("Desila se greška pri pravljenju XML-a, fajl NIJE POSLAT!")}));
}

}  // namespace
