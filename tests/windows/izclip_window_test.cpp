// The clipboard import window on real widgets: how it is built, marking with
// mouse and keys, the paste bindings of the pane, the marked view, hiding the
// tools, saving, the validation marks and the PDF choice.
#include <QMimeData>

#include "common/lookglobals.h"
#include "common/shellhooks.h"

#include "izclip_fixture.h"
#include "izclip_text.h"

using namespace korvan;
using namespace korvan::test;

namespace {

TEST_F(IzclipTest, BuiltAsTheUserSeesIt) {
  writeFile(ini, sellerIni("T") + "[IZCLIP]\r\nBRDOK=R:1,K:11-R:1,K:18\r\nMORA_NUM_KOLONA=KOLICINA,CENB\r\n");
  MyIZCLIP* w = open();
  struct B {
    QPushButton* button;
    const char* text;
    const char* key;
  };
  const QList<B> buttons = {{w->obPASTE_CLIP, "Nanesi iz ClipBoard-a (Ctrl+V)", "Ctrl+V"},
                            {w->obFAJL_PDF, "Izaberi PDF fajl", ""},
                            {w->obPRIK_SAKRIJ, "Sakrij podešavanja", ""},
                            {w->obOZNACI_POLJA, "Označi polja", ""},
                            {w->obPRAVI_XML, "Napravi XML fajl", ""},
                            {w->obSALJI_XML, "Napravi i pošalji XML fajl", ""},
                            {w->obUZMI_POZICIJE, "Upiši pozicije selektovanog (F2)", "F2"},
                            {w->obBRISI_POZICIJE, "Brisi pozicije (F4)", "F4"},
                            {w->obZAPAMTI, "Zapamti podešavanja (Ctrl+S)", "Ctrl+S"},
                            {w->obMORA_NUM_KOLONA, "Kolona numeričke validacije", ""}};
  for (const B& b : buttons) {
    SCOPED_TRACE(b.text);
    ASSERT_NE(b.button, nullptr);
    EXPECT_EQ(b.button->text(), QString::fromUtf8(b.text));
    EXPECT_EQ(b.button->shortcut(), QKeySequence(QString::fromLatin1(b.key)));
    EXPECT_FALSE(b.button->icon().isNull());
  }
  EXPECT_EQ(w->obRESIZE_TO_CONTENTS, nullptr);
  EXPECT_EQ(w->oTABELA, nullptr);
  EXPECT_EQ(w->obIZLAZ->text(), "Izlaz (Esc)");
  EXPECT_EQ(w->cICO_RES, ":/res/paste.png");

  QTableWidget* t = w->otwTABELA_POLJA;
  ASSERT_EQ(t->rowCount(), 27);
  ASSERT_EQ(t->columnCount(), 3);
  EXPECT_EQ(t->horizontalHeaderItem(0)->text(), "Opis");
  EXPECT_EQ(t->horizontalHeaderItem(1)->text(), "Pozicija");
  EXPECT_EQ(t->horizontalHeaderItem(2)->text(), "Vrednost");
  for (int r = 0; r < 27; ++r) {
    const QString key = QString::fromLatin1(izclip::fields()[r].key);
    SCOPED_TRACE(key.toStdString());
    for (int c = 0; c < 3; ++c) {
      ASSERT_NE(t->item(r, c), nullptr);
      EXPECT_EQ(t->item(r, c)->whatsThis(), key);
      EXPECT_EQ(bool(t->item(r, c)->flags() & Qt::ItemIsEditable), c == 1);
    }
    const bool yellow = key == "KOLICINA" || key == "CENB";
    EXPECT_EQ(t->item(r, 0)->background().color() == Qt::yellow, yellow);
  }
  EXPECT_EQ(t->item(0, 0)->text(), "Broj dokumenta");
  EXPECT_EQ(t->item(26, 0)->text(), "Vrednost sa PDV-om");
  EXPECT_EQ(position(w, "BRDOK"), "R:1,K:11-R:1,K:18");
  EXPECT_EQ(position(w, "DATDOK"), "");
  EXPECT_EQ(w->aMORA_NUM_KOLONA, (QStringList{"KOLICINA", "CENB"}));

  QTableWidget* s = w->otwTABELA_STAVKI;
  ASSERT_EQ(s->columnCount(), 11);
  EXPECT_EQ(s->rowCount(), 0);
  EXPECT_EQ(s->horizontalHeaderItem(0)->text(), QString::fromUtf8("Šifra\nartikla"));
  EXPECT_EQ(s->horizontalHeaderItem(10)->text(), QString::fromUtf8("Vrednost\nsa PDV-om"));
  EXPECT_EQ(s->font().pointSize(), G_NVEL_FONTMALI());
  EXPECT_FALSE(w->oleFAJL_PDF->isEnabled());
  EXPECT_EQ(w->oteCLIP->font().families().value(0), "Courier New");
  EXPECT_FALSE(w->oteCLIP->acceptRichText());
  EXPECT_EQ(w->oteCLIP->contextMenuPolicy(), Qt::NoContextMenu);
  EXPECT_EQ(w->oteCLIP->lineWrapMode(), QTextEdit::FixedColumnWidth);
  EXPECT_EQ(w->oteCLIP->lineWrapColumnOrWidth(), 200);
  for (QLabel* l : {w->olblROW.data(), w->olblPOC_SEL_COL.data(), w->olblKRAJ_SEL_ROW.data()})
    EXPECT_EQ(l->text(), "");
  EXPECT_EQ(w->olblPOC_SEL_ROW_COL->text(), QString::fromUtf8("Početni selektovani red/kolona:"));
  EXPECT_EQ(iniValue("Config", "POSLEDNJI_KOJI"), "CLIP");
}

// An invoice line past the pane's 200 columns: "KRAJ" at columns 240 to 243
// ends the second line, in its wrapped part.
QString markText() {
  QString second = QStringLiteral("Stavka");
  second += QString(239 - second.size(), QLatin1Char(' ')) + QStringLiteral("KRAJ");
  return QString::fromUtf8("Račun br. 15/2022\n") + second + QStringLiteral("\nkraj teksta\n");
}

// Every way of selecting the same characters stores what a drag stores.
TEST_F(IzclipTest, EverySelectionStoresWhatADragStores) {
  MyIZCLIP* w = open();
  paste(w, markText());

  // Left to right over "15/2022" (after a letter of two bytes).
  drag(w, 1, 11, 18);
  EXPECT_EQ(w->oteCLIP->textCursor().selectedText(), "15/2022");
  EXPECT_EQ(f2(w, "BRDOK"), "R:1,K:11-R:1,K:18");
  EXPECT_EQ(value(w, "BRDOK"), "15/2022") << "F2 extracts at once";

  const QString kraj = "R:2,K:240-R:2,K:244";
  struct Way {
    const char* name;
    std::function<void()> select;
  };
  const QList<Way> ways = {
      {"drag on the wrapped part", [&] { drag(w, 2, 240, 244); }},
      {"drag right to left", [&] { drag(w, 2, 244, 240); }},
      {"double click",
       [&] {
         reveal(w, 2, 241);
         QTest::mouseDClick(w->oteCLIP->viewport(), Qt::LeftButton, {}, at(w, 2, 241) + QPoint(2, 0));
       }},
      {"shift end",
       [&] {
         place(w, 2, 240);
         QTest::keyClick(w->oteCLIP, Qt::Key_End, Qt::ShiftModifier);
       }},
      {"shift left",
       [&] {
         place(w, 2, 244);
         for (int i = 0; i < 4; ++i) QTest::keyClick(w->oteCLIP, Qt::Key_Left, Qt::ShiftModifier);
       }},
      {"shift right",
       [&] {
         place(w, 2, 240);
         for (int i = 0; i < 4; ++i) QTest::keyClick(w->oteCLIP, Qt::Key_Right, Qt::ShiftModifier);
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    type(w, "KOMIT_NAZIV", "");
    place(w, 3, 1);  // no selection between the ways
    way.select();
    EXPECT_EQ(w->oteCLIP->textCursor().selectedText(), "KRAJ");
    EXPECT_EQ(f2(w, "KOMIT_NAZIV"), kraj);
    EXPECT_EQ(value(w, "KOMIT_NAZIV"), "KRAJ");
  }

  // The current labels count from the start of the text line, not of the display line.
  place(w, 2, 230);
  EXPECT_EQ(w->olblROW->text(), "2");
  EXPECT_EQ(w->olblCOL->text(), "230");
  // The selection labels keep their values once the selection is gone.
  EXPECT_EQ(w->olblPOC_SEL_COL->text(), "240");
  EXPECT_EQ(w->olblKRAJ_SEL_COL->text(), "244");
}

TEST_F(IzclipTest, F2BeforeAnySelectionStoresZerosThatExtractNothing) {
  MyIZCLIP* w = open();
  paste(w, "abc\n");
  EXPECT_EQ(f2(w, "UGOVOR"), "R:0,K:0-R:0,K:0");
  EXPECT_EQ(value(w, "UGOVOR"), "");
  // F4 clears position and value of the current row, and nothing else.
  type(w, "BRDOK", "R:1,K:2-R:1,K:3");
  current(w, "BRDOK");
  w->obPASTE_CLIP->click();
  ASSERT_EQ(value(w, "BRDOK"), "bc");
  w->obBRISI_POZICIJE->click();
  EXPECT_EQ(position(w, "BRDOK"), "");
  EXPECT_EQ(value(w, "BRDOK"), "");
  // Without a current row F2, F4 and the validation toggle do nothing.
  w->otwTABELA_POLJA->setCurrentCell(-1, -1);
  const QString before = position(w, "UGOVOR");
  w->obUZMI_POZICIJE->click();
  w->obBRISI_POZICIJE->click();
  w->obMORA_NUM_KOLONA->click();
  EXPECT_EQ(position(w, "UGOVOR"), before);
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(IzclipTest, ThePaneNeverPastesByItself) {
  MyIZCLIP* w = open();
  paste(w, "prvi tekst");
  QApplication::clipboard()->setText("ZALEPLJENO");
  w->oteCLIP->setFocus();
  w->oteCLIP->moveCursor(QTextCursor::End);
  for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}) {
    SCOPED_TRACE(keys.toString().toStdString());
    QTest::keySequence(w->oteCLIP, keys);
    QTest::qWait(150);
    EXPECT_EQ(w->oteCLIP->toPlainText(), "prvi tekst");
  }
  // Typing still types.
  QTest::keyClicks(w->oteCLIP, "!");
  EXPECT_EQ(w->oteCLIP->toPlainText(), "prvi tekst!");
  // Ctrl+V elsewhere in the window is the button's key: a paste and an extraction.
  type(w, "BRDOK", "R:1,K:1-R:1,K:4");
  w->otwTABELA_POLJA->setFocus();
  QTest::keySequence(w->otwTABELA_POLJA, QKeySequence(Qt::CTRL | Qt::Key_V));
  QTest::qWait(150);
  EXPECT_EQ(w->oteCLIP->toPlainText(), "ZALEPLJENO");
  EXPECT_EQ(value(w, "BRDOK"), "ZALE");
  // The button pastes plain text only.
  auto* rich = new QMimeData;
  rich->setHtml("<b>masno</b>");
  rich->setText("masno");
  QApplication::clipboard()->setMimeData(rich);
  w->obPASTE_CLIP->click();
  EXPECT_EQ(w->oteCLIP->toPlainText(), "masno");
  EXPECT_FALSE(w->oteCLIP->toHtml().contains("font-weight:700"));
  EXPECT_TRUE(boxes.shown.isEmpty());

  // A clipboard without text: the message, the pane as it was.
  auto* image = new QMimeData;
  image->setData("image/png", QByteArray("\x89PNG", 4));
  QApplication::clipboard()->setMimeData(image);
  w->obPASTE_CLIP->click();
  EXPECT_EQ(boxes.texts(), QStringList{"Nije kopirano u ClipBoard kao tekst!"});
  EXPECT_EQ(w->oteCLIP->toPlainText(), "masno");
}

TEST_F(IzclipTest, TheMarkedViewGivesBackExactlyTheText) {
  writeFile(ini, sellerIni("T") + "[IZCLIP]\r\nBRDOK=R:1,K:3-R:1,K:6\r\nKOMIT_NAZIV=R:2,K:1-R:2,K:9\r\n");
  MyIZCLIP* w = open();
  const QString text = QString::fromUtf8("a <b>&amp; x\nĐorđe & <Sin>\t  \n\n  kraj  \n");
  paste(w, text);
  const QString plain = w->oteCLIP->toPlainText();
  EXPECT_EQ(value(w, "BRDOK"), "<b>&");
  EXPECT_EQ(value(w, "KOMIT_NAZIV"), QString::fromUtf8("Đorđe & <"));

  w->obOZNACI_POLJA->click();
  EXPECT_FALSE(w->lEDIT_CLIP);
  EXPECT_EQ(w->obOZNACI_POLJA->text(), "Skini oznake polja");
  EXPECT_EQ(w->cOLD_CLIP, plain);
  const QString html = w->oteCLIP->toHtml();
  EXPECT_TRUE(html.contains("<u>") || html.contains("underline")) << html.toStdString();
  EXPECT_TRUE(w->oteCLIP->toPlainText().startsWith("a <b>&amp; x")) << "escaped, so shown as it stands";

  // F2 while the view shows reads the pasted text, not the view's.
  type(w, "KOMIT_NAZIV", "R:4,K:3-R:4,K:6");
  current(w, "KOMIT_MESTO");
  w->obUZMI_POZICIJE->click();
  EXPECT_EQ(value(w, "KOMIT_NAZIV"), "kraj");
  EXPECT_EQ(w->cOLD_CLIP, plain);

  w->obOZNACI_POLJA->click();
  EXPECT_TRUE(w->lEDIT_CLIP);
  EXPECT_EQ(w->obOZNACI_POLJA->text(), QString::fromUtf8("Označi polja"));
  EXPECT_EQ(w->oteCLIP->toPlainText(), plain);
  EXPECT_EQ(w->oteCLIP->toHtml().contains("underline"), false);

  // A paste in the view ends the view; the pasted text is never replaced by an older one.
  w->obOZNACI_POLJA->click();
  paste(w, "novi tekst");
  EXPECT_TRUE(w->lEDIT_CLIP);
  EXPECT_EQ(w->obOZNACI_POLJA->text(), QString::fromUtf8("Označi polja"));
  w->obOZNACI_POLJA->click();
  w->obOZNACI_POLJA->click();
  EXPECT_EQ(w->oteCLIP->toPlainText(), "novi tekst");
  EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(IzclipTest, HidingTheToolsKeepsTheValuesAndIsRemembered) {
  writeFile(ini, sellerIni("T") + "[IZCLIP]\r\nBRDOK=R:1,K:1-R:1,K:3\r\n");
  MyIZCLIP* w = open();
  paste(w, "R-15 ostalo\n");
  ASSERT_EQ(value(w, "BRDOK"), "R-1");
  const int pos = KOLONA_PO_POLJU(w->aKOLONE_POLJA, "POZICIJA"), val = KOLONA_PO_POLJU(w->aKOLONE_POLJA, "VREDNOST");
  EXPECT_TRUE(w->obUZMI_POZICIJE->isVisible());
  EXPECT_FALSE(w->otwTABELA_POLJA->isColumnHidden(pos));

  w->obPRIK_SAKRIJ->click();
  EXPECT_EQ(w->obPRIK_SAKRIJ->text(), QString::fromUtf8("Prikaži podešavanja"));
  EXPECT_EQ(iniValue("Config", "PRIKAZ"), "F");
  EXPECT_TRUE(w->otwTABELA_POLJA->isColumnHidden(pos));
  EXPECT_FALSE(w->otwTABELA_POLJA->isColumnHidden(val));
  EXPECT_EQ(value(w, "BRDOK"), "R-1");
  for (QWidget* gone : QList<QWidget*>{w->obUZMI_POZICIJE, w->obBRISI_POZICIJE, w->obZAPAMTI,
                                       w->obMORA_NUM_KOLONA, w->olblTRENUTNI_ROW_COL, w->olblKRAJ_SEL_COL})
    EXPECT_FALSE(gone->isVisible());
  for (QWidget* kept : QList<QWidget*>{w->oteCLIP, w->oleFAJL_PDF, w->olblFAJL_PDF, w->otwTABELA_STAVKI,
                                       w->otwTABELA_POLJA, w->obPASTE_CLIP})
    EXPECT_TRUE(kept->isVisible());

  MyIZCLIP* again = open();
  EXPECT_FALSE(again->lPRIKAZANO);
  EXPECT_FALSE(again->obZAPAMTI->isVisible());
  again->obPRIK_SAKRIJ->click();
  EXPECT_EQ(iniValue("Config", "PRIKAZ"), "T");
  EXPECT_TRUE(again->obZAPAMTI->isVisible());
}

TEST_F(IzclipTest, SavingWritesTheExactKeys) {
  MyIZCLIP* w = open();
  type(w, "BRDOK", "R:1,K:11-R:1,K:18");
  type(w, "VREDP", "rucno upisano");
  current(w, "KOLICINA");
  w->obMORA_NUM_KOLONA->click();
  current(w, "CENB");
  w->obMORA_NUM_KOLONA->click();
  w->obZAPAMTI->click();
  const QByteArray file = readFile(ini);
  const int at = file.indexOf("[IZCLIP]");
  ASSERT_GE(at, 0);
  QByteArray expected = "[IZCLIP]\r\n";
  for (const izclip::Field& f : izclip::fields()) {
    const QByteArray key(f.key);
    expected += key + "=" + (key == "BRDOK" ? "R:1,K:11-R:1,K:18" : key == "VREDP" ? "rucno upisano" : "") + "\r\n";
  }
  expected += "MORA_NUM_KOLONA=KOLICINA,CENB\r\n";
  EXPECT_EQ(file.mid(at).toStdString(), expected.toStdString());

  // Unmarking keeps the order of the others; the list reaches the file only on save.
  current(w, "KOLICINA");
  w->obMORA_NUM_KOLONA->click();
  EXPECT_EQ(w->aMORA_NUM_KOLONA, QStringList{"CENB"});
  EXPECT_NE(w->otwTABELA_POLJA->item(row(w, "KOLICINA"), 0)->background().color(), Qt::yellow);
  EXPECT_EQ(iniValue("IZCLIP", "MORA_NUM_KOLONA"), "KOLICINA,CENB");
  // A header field cannot be a validation field.
  current(w, "DATDOK");
  w->obMORA_NUM_KOLONA->click();
  EXPECT_EQ(boxes.texts(), QStringList{"Ova opcija je samo za polja stavki!"});
  EXPECT_EQ(w->aMORA_NUM_KOLONA, QStringList{"CENB"});
  // Ctrl+S saves too.
  w->otwTABELA_POLJA->setFocus();
  QTest::keySequence(w->otwTABELA_POLJA, QKeySequence(Qt::CTRL | Qt::Key_S));
  QTest::qWait(150);
  EXPECT_EQ(iniValue("IZCLIP", "MORA_NUM_KOLONA"), "CENB");
}

TEST_F(IzclipTest, AFailedWriteShowsOneMessage) {
  MyIZCLIP* w = open();
  w->FN_INI = dir.filePath("nema/aplik.ini");
  EXPECT_FALSE(w->ZAPAMTI());
  EXPECT_EQ(boxes.shown.size(), 1) << boxes.texts().join('|').toStdString();
}

TEST_F(IzclipTest, PositionsTypedByHandAreSavedWhenTheBuildIsRefused) {
  MyIZCLIP* w = open();
  type(w, "BRDOK", "R:2,K:1-R:2,K:9");
  w->obPRAVI_XML->click();
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Nema ništa naneto iz ClipBoard-a!")});
  EXPECT_EQ(iniValue("IZCLIP", "BRDOK"), "R:2,K:1-R:2,K:9");

  boxes.shown.clear();
  paste(w, "tekst\n");
  type(w, "BRDOK", "R:3,K:1-R:3,K:9");
  w->obPRAVI_XML->click();
  EXPECT_EQ(boxes.texts(), QStringList{"Nije izabran PDF fajl!"});
  EXPECT_EQ(iniValue("IZCLIP", "BRDOK"), "R:3,K:1-R:3,K:9");
  // The positions survive a restart.
  MyIZCLIP* again = open();
  EXPECT_EQ(position(again, "BRDOK"), "R:3,K:1-R:3,K:9");
}

TEST_F(IzclipTest, ChoosingThePdf) {
  MyIZCLIP* w = open();
  struct Case {
    const char* name;
    bool taken;
  };
  const QList<Case> cases = {{"racun.pdf", true}, {"RACUN.PDF", true}, {"Racun.Pdf", true},
                             {"racun.pdf.txt", false}, {"racun", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    w->oleFAJL_PDF->clear();
    const QString path = work + "/" + c.name;
    writeFile(path, fakePdf());
    files.answers << QStringList{path};
    EXPECT_EQ(w->IZABERI_PDF_FAJL(), c.taken);
    EXPECT_EQ(w->oleFAJL_PDF->text(), c.taken ? path : QString());
    EXPECT_EQ(boxes.texts(), c.taken ? QStringList{} : QStringList{"Nije PDF fajl!"});
  }
  const FileDialogRequest& asked = files.requests.last();
  EXPECT_EQ(asked.title, "Izaberite fajl");
  EXPECT_EQ(asked.mode, FileDialogRequest::Open);
  ASSERT_FALSE(asked.nameFilters.isEmpty());
  EXPECT_TRUE(asked.nameFilters.first().startsWith("PDF fajlovi")) << asked.nameFilters.first().toStdString();
  // Cancelled: nothing changes.
  w->oleFAJL_PDF->setText("staro.pdf");
  EXPECT_FALSE(w->IZABERI_PDF_FAJL());
  EXPECT_EQ(w->oleFAJL_PDF->text(), "staro.pdf");
}

}  // namespace

namespace {

// The invoice text through the window: the values each rule of the walk
// leaves in the fields table and the rows of the items table.
TEST_F(IzclipTest, TheInvoiceTextFillsTheTables) {
  QByteArray settings = "[IZCLIP]\r\n";
  for (const auto& [key, text] : invoicePositions()) settings += key.toUtf8() + "=" + text.toUtf8() + "\r\n";
  writeFile(ini, sellerIni("T") + settings + "MORA_NUM_KOLONA=KOLICINA\r\n");
  MyIZCLIP* w = open();
  // An earlier text of ten lines gives values to the fields whose range starts
  // beyond the invoice text.
  QStringList earlier(10, QString(80, QLatin1Char('e')));
  earlier[8] = QStringLiteral("mejl@kupac.rs") + QString(67, QLatin1Char(' '));
  earlier[1] = QString(59, QLatin1Char(' ')) + QStringLiteral("Novi Sad   ");
  paste(w, earlier.join('\n'));
  ASSERT_EQ(value(w, "KOMIT_EMAIL"), "mejl@");
  ASSERT_EQ(value(w, "KOMIT_MESTO"), "Novi Sad   ");
  ASSERT_EQ(value(w, "NARUDZBENICA"), "");

  paste(w, invoiceLines().join("\r\n"));
  const QList<QPair<const char*, QString>> expected = {
      {"BRDOK", "15/2022"},
      {"DATDOK", "10.12.2022"},  // ends on a later row: to the end of its row
      {"DATPROM", ""},
      {"VALUTA", "KRAJ"},  // past the wrap column
      {"OPERATER", QString::fromUtf8("Račun")},  // cut short by another range's end
      {"NARUDZBENICA", ""},  // starts inside an open field: not opened
      {"KOMIT_NAZIV", QString::fromUtf8("Đorđević & <Sin>")},
      {"KOMIT_PIB", "101112131"},  // after a tab
      {"KOMIT_MATBROJ", ""},  // same start as KOMIT_PIB: the earlier field only
      {"KOMIT_MESTO", "Novi Sad   "},  // starts beyond its line: kept
      {"KOMIT_EMAIL", "mejl@"},  // starts beyond the text: kept
      {"KOMIT_ADRESA", ""},  // ends before it starts
      {"KOMIT_POST_BROJ", ""},  // not whole: ignored
      {"KOMIT_JBKJS", ""},  // zero: ignored
      {"ART_SIFRA", "A-1"},  // item fields show their start row
      {"ART_NAZIV", "Olovka      "},
      {"KOLICINA", "2,000 "},
      {"CENB", "1.234,50"},
  };
  for (const auto& [key, text] : expected) {
    SCOPED_TRACE(key);
    EXPECT_EQ(value(w, key), text);
  }
  // Rows 1 and 2 lie above the validation start row, row 4 reads 0,00.
  ASSERT_EQ(w->otwTABELA_STAVKI->rowCount(), 2);
  EXPECT_EQ(item(w, 0, "ART_SIFRA"), "A-1");
  EXPECT_EQ(item(w, 0, "ART_NAZIV"), "Olovka");
  EXPECT_EQ(item(w, 0, "KOLICINA"), "2,000");
  EXPECT_EQ(item(w, 0, "CENB"), "1234,5000");
  EXPECT_EQ(item(w, 1, "ART_NAZIV"), "Papir A4");
  EXPECT_EQ(item(w, 1, "KOLICINA"), "3,000");
  EXPECT_EQ(item(w, 1, "CENB"), "1234,5600");
  EXPECT_EQ(item(w, 1, "ART_BARKOD"), "");
  EXPECT_EQ(item(w, 1, "STOPA"), "");

  // A validation field without a range rejects nothing; with no range for any
  // validation field, every line gives a row.
  current(w, "RABATP");
  w->obMORA_NUM_KOLONA->click();
  w->obPASTE_CLIP->click();
  EXPECT_EQ(w->otwTABELA_STAVKI->rowCount(), 2);
  current(w, "KOLICINA");
  w->obMORA_NUM_KOLONA->click();
  w->obPASTE_CLIP->click();
  EXPECT_EQ(w->otwTABELA_STAVKI->rowCount(), 5);
  // An empty list: no item line.
  current(w, "RABATP");
  w->obMORA_NUM_KOLONA->click();
  w->obPASTE_CLIP->click();
  EXPECT_EQ(w->otwTABELA_STAVKI->rowCount(), 0);
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join('|').toStdString();
}

}  // namespace

namespace korvan {
void plug_windows();
}

namespace {

TEST_F(IzclipTest, TheMenuOpensTheWindow) {
  plug_windows();
  const MenuOpener opener = menuOpener("CLIP");
  ASSERT_TRUE(opener);
  QWidget* sub = opener({.main = mw, .area = area, .font = QApplication::font(), .title = "Import iz ClipBoard-a"});
  clearShellPlugs();
  auto* shown = qobject_cast<QMdiSubWindow*>(sub);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->windowTitle(), "Import iz ClipBoard-a");
  EXPECT_EQ(area->activeSubWindow(), shown);
  EXPECT_NE(shown->findChild<QTextEdit*>("oteCLIP"), nullptr);
  EXPECT_EQ(iniValue("Config", "POSLEDNJI_KOJI"), "CLIP");
}

}  // namespace
