// Reading documents literally, finding elements, and files taken out of a
// document (Base64 with character references, received file names).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/presenter.h"
#include "einvoice/libefm2.h"
#include "platform/shell.h"
#include "support/scriptedpresenter.h"
#include "support/recordingshell.h"

namespace korvan {
namespace {

const QByteArray kDoc =
    "<?xml version=\"1.0\"?>\r\n<!-- made by hand -->\r\n"
    "<env:Envelope a=\"1\">\r\n"
    "  <cac:AccountingCustomerParty><cac:Party>\r\n"
    "    <cbc:RegistrationName>A &amp; B</cbc:RegistrationName>\r\n"
    "    <cbc:RegistrationName>Drugi</cbc:RegistrationName>\r\n"
    "  </cac:Party></cac:AccountingCustomerParty>\r\n"
    "  <cac:AccountingSupplierParty><cbc:RegistrationName>Prodavac</cbc:RegistrationName></cac:AccountingSupplierParty>\r\n"
    "  <cbc:Note><![CDATA[x < y]]></cbc:Note>\r\n"
    "  <cbc:EmbeddedDocumentBinaryObject mimeCode=\"application/pdf\" filename='r.pdf'>QUJD</cbc:EmbeddedDocumentBinaryObject>\r\n"
    "  <cbc:Empty/>\r\n"
    "</env:Envelope>\r\n";

TEST(XmlLiteralTest, TextIsKeptAsWritten) {
  XmlLiteralDoc doc;
  ASSERT_EQ(doc.parse(kDoc), 0);
  const auto& els = doc.elements();
  EXPECT_EQ(els[doc.find("cbc:RegistrationName")].text, "A &amp; B");
  EXPECT_EQ(els[doc.find("cbc:Note")].text, "x < y");
  EXPECT_EQ(els[doc.find("cbc:Empty")].text, "");
  const XmlElement& bin = els[doc.find("cbc:EmbeddedDocumentBinaryObject")];
  EXPECT_EQ(UZMI_STA(true, bin, "filename"), "r.pdf");
  EXPECT_EQ(UZMI_STA(true, bin, "mimeCode"), "application/pdf");
  EXPECT_EQ(UZMI_STA(true, bin, "none"), "");
  EXPECT_EQ(UZMI_STA(false, bin), "QUJD");
}

TEST(XmlLiteralTest, BrokenDocumentsGiveAnErrorNumber) {
  for (const char* bad : {"", "just text", "<a>", "<a></b>", "<a><b></a></b>", "<a x=1></a>", "<a><!-- open</a>",
                          "<a", "<></>"}) {
    XmlLiteralDoc doc;
    EXPECT_NE(doc.parse(bad), 0) << bad;
    EXPECT_TRUE(doc.elements().isEmpty()) << bad;
  }
}

TEST(XmlLiteralTest, FindingByNameAndPath) {
  XmlLiteralDoc doc;
  ASSERT_EQ(doc.parse(kDoc), 0);
  ScriptedPresenter boxes;
  const QString buyer = "cac:AccountingCustomerParty";
  EXPECT_EQ(XML_UZMI({"cbc:RegistrationName"}, doc), "A &amp; B");
  EXPECT_EQ(XML_UZMI({buyer, "cbc:RegistrationName"}, doc), "Drugi");  // the last wins
  EXPECT_EQ(XML_UZMI({buyer, "cbc:RegistrationName"}, doc, false, true), "A &amp; B");
  EXPECT_EQ(XML_UZMI({buyer, "cbc:RegistrationName"}, doc, false, false, true),
            QStringList({"A &amp; B", "Drugi"}));
  EXPECT_EQ(XML_UZMI({"cac:AccountingSupplierParty", "cbc:RegistrationName"}, doc), "Prodavac");
  EXPECT_TRUE(XML_UZMI({buyer, "cbc:Missing"}, doc).isNull());
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_TRUE(XML_UZMI({"cbc:InvoiceTypeCode"}, doc).isNull());
  EXPECT_TRUE(XML_UZMI({"cac:Nope", "cbc:ID"}, doc).isNull());
  EXPECT_TRUE(XML_UZMI({"cbc:Quiet"}, doc, true).isNull());
  EXPECT_EQ(boxes.texts(), QStringList({"Ne postoji 'cbc:InvoiceTypeCode' tag!", "Ne postoji 'cac:Nope' tag!"}));
  EXPECT_EQ(XML_UZMI({"env:Envelope", "cbc:EmbeddedDocumentBinaryObject"}, doc, false, true, false, "filename"),
            "r.pdf");
  EXPECT_EQ(RADI_TAG3({"env:Envelope", "cac:Party", "cbc:RegistrationName"}, doc, false, true), "A &amp; B");
  EXPECT_TRUE(RADI_TAG3({"cac:AccountingSupplierParty", "cac:Party", "cbc:RegistrationName"}, doc).isNull());
}

TEST(XmlLiteralTest, DeepNestingIsReadOnceInOnePass) {
  // 20,000 nested namesakes around one child: each value once, and the
  // three-name form gives up after one look at the document.
  const int depth = 20000;
  QByteArray text;
  for (int i = 0; i < depth; ++i) text += "<cac:Party>";
  text += "<cbc:Name>Dno</cbc:Name><cbc:Name>Drugo</cbc:Name>";
  for (int i = 0; i < depth; ++i) text += "</cac:Party>";
  XmlLiteralDoc doc;
  ASSERT_EQ(doc.parse(text), 0);
  EXPECT_EQ(XML_UZMI({"cac:Party", "cbc:Name"}, doc, false, false, true), QStringList({"Dno", "Drugo"}));
  EXPECT_EQ(XML_UZMI({"cac:Party", "cbc:Name"}, doc), "Drugo");
  EXPECT_EQ(XML_UZMI({"cac:Party", "cbc:Name"}, doc, false, true), "Dno");
  EXPECT_TRUE(RADI_TAG3({"cac:Party", "cac:Missing", "cbc:Name"}, doc, true).isNull());
}

TEST(XmlLiteralTest, DocumentTypes) {
  struct Case {
    const char* code;
    const char* text;
  };
  for (const Case c : {Case{"380", "Račun"}, Case{"381", "Odobrenje"}, Case{"383", "Zaduženje"}, Case{"386", "Avans"},
                       Case{"384", ""}, Case{"380 ", ""}, Case{"", ""}})
    EXPECT_EQ(ODREDI_TIP(c.code), QString::fromUtf8(c.text)) << c.code;
}

class FileOutOfDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { SET_APPPATH(app.path()); }
  QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  QTemporaryDir app;
  ScriptedPresenter boxes;
  RecordingShell shell;
};

TEST_F(FileOutOfDocumentTest, Base64WithCharacterReferencesComesOutIntact) {
  QByteArray pdf("%PDF-1.4\n");
  for (int i = 0; i < 300; ++i) pdf += char(i * 7);
  QByteArray b64;
  const QByteArray plain = pdf.toBase64();
  for (qsizetype i = 0; i < plain.size(); i += 76) b64 += plain.mid(i, 76) + "&#13;\n";
  const QString doc = "<env:E><env:DocumentPdf>" + QString::fromLatin1(b64) + "</env:DocumentPdf></env:E>";
  ASSERT_TRUE(EFM_SNIMI_OTVORI_FAJL_IZ_XML("env:DocumentPdf", doc, "123 Kupac d.o.o.", app.path(), "pdf"));
  const QString target = app.path() + "/123 Kupac d.o.o..pdf";
  EXPECT_EQ(read(target), pdf);
  ASSERT_EQ(shell.calls.size(), 1);
  EXPECT_EQ(shell.calls[0].target, target);
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(FileOutOfDocumentTest, MissingElementWholeTextAndRefusedNames) {
  const QString doc = "<Invoice><cbc:ID>1</cbc:ID></Invoice>";
  EXPECT_TRUE(EFM_SNIMI_OTVORI_FAJL_IZ_XML("env:DocumentPdf", doc, "5", app.path(), "pdf", true));
  EXPECT_TRUE(boxes.shown.isEmpty());
  EXPECT_TRUE(shell.calls.isEmpty());
  EXPECT_TRUE(EFM_SNIMI_OTVORI_FAJL_IZ_XML("env:DocumentPdf", doc, "5", app.path(), "pdf"));
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoje podaci za ovu vrstu fajla!"});
  EXPECT_TRUE(shell.calls.isEmpty()) << "nothing was written, so nothing may be opened";
  EXPECT_FALSE(QFile::exists(app.path() + "/5.pdf"));

  EXPECT_TRUE(EFM_SNIMI_OTVORI_FAJL_IZ_XML("", doc, "5", app.path() + "/", "xml", true));
  EXPECT_EQ(read(app.path() + "/5.xml"), doc.toUtf8());

  boxes.shown.clear();
  EXPECT_FALSE(EFM_SNIMI_OTVORI_FAJL_IZ_XML("env:DocumentPdf", "<a>", "5", app.path(), "pdf", true));
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Greška pri parsiranju XML fajla:          4")});
  for (const char* bad : {"../5", "a/b", "..", "x\ny"}) {
    boxes.shown.clear();
    EXPECT_FALSE(EFM_SNIMI_OTVORI_FAJL_IZ_XML("", doc, bad, app.path(), "xml", true)) << bad;
    EXPECT_EQ(boxes.shown.size(), 1) << bad;
  }
  EXPECT_EQ(QDir(app.path() + "/..").entryList({"5.xml"}).size(), 0);
}

TEST_F(FileOutOfDocumentTest, ContentThatIsNoPdfIsNotOpened) {
  const QString doc = "<Invoice><cbc:EmbeddedDocumentBinaryObject>" +
                      QString::fromLatin1(QByteArray("#!/bin/sh\necho\n").toBase64()) +
                      "</cbc:EmbeddedDocumentBinaryObject></Invoice>";
  EXPECT_FALSE(EFM_SNIMI_OTVORI_FAJL_IZ_XML("cbc:EmbeddedDocumentBinaryObject", doc, "6", app.path(), "pdf"));
  EXPECT_EQ(boxes.texts(),
            QStringList{"Sadržaj elementa cbc:EmbeddedDocumentBinaryObject nije PDF fajl, ne otvaram ga!"});
  EXPECT_TRUE(shell.calls.isEmpty());
  EXPECT_FALSE(QFile::exists(app.path() + "/6.pdf"));
}

TEST(ReceivedNameTest, FoldersStrippedAndUnsafeNamesRefused) {
  struct Case {
    const char* received;
    const char* safe;
  };
  for (const Case c : {Case{"racun.pdf", "racun.pdf"}, Case{"../../etc/passwd", "passwd"},
                       Case{"C:\\Users\\x\\ugovor.pdf", "ugovor.pdf"}, Case{"/abs/path.txt", "path.txt"},
                       Case{"..", ""}, Case{"a/..", ""}, Case{"", ""}, Case{"dir/", ""}, Case{"ime\x01.pdf", ""},
                       Case{"CON", ""}, Case{"nul.txt", ""}, Case{"com1", ""}, Case{"Console.pdf", "Console.pdf"},
                       Case{"naziv. ", "naziv"}})
    EXPECT_EQ(EFM_SIGURNO_IME(QString::fromUtf8(c.received)), QString::fromUtf8(c.safe)) << c.received;
}

TEST_F(FileOutOfDocumentTest, AttachmentsAreWrittenInsideTmpOnly) {
  const QString doc =
      "<Invoice>"
      "<cbc:EmbeddedDocumentBinaryObject filename=\"../../izlaz.pdf\">QUJD</cbc:EmbeddedDocumentBinaryObject>"
      "<cbc:EmbeddedDocumentBinaryObject filename=\"CON\">REVG</cbc:EmbeddedDocumentBinaryObject>"
      "<cbc:EmbeddedDocumentBinaryObject filename=\"a&#47;b.txt\">R0hJ</cbc:EmbeddedDocumentBinaryObject>"
      "<cbc:EmbeddedDocumentBinaryObject>SktM</cbc:EmbeddedDocumentBinaryObject>"
      "</Invoice>";
  const QString dir = app.path() + "/TMP/PRILOZI/";
  EXPECT_EQ(EFM_SNIMI_PRILOGE(doc), QStringList({dir + "izlaz.pdf", dir + "prilog2", dir + "b.txt", dir + "prilog4"}));
  EXPECT_EQ(read(dir + "izlaz.pdf"), "ABC");
  EXPECT_EQ(read(dir + "prilog2"), "DEF");
  EXPECT_EQ(read(dir + "b.txt"), "GHI");
  EXPECT_EQ(read(dir + "prilog4"), "JKL");
  EXPECT_FALSE(QFile::exists(app.path() + "/izlaz.pdf"));
  EXPECT_FALSE(QFile::exists(QDir(app.path()).absoluteFilePath("../izlaz.pdf")));
}

}  // namespace
}  // namespace korvan
