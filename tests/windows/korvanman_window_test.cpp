// The manager window driven offscreen: set-up, direction, the fill, the
// actions on the selected invoice against the peer, its files and deleting.
#include <QHeaderView>
#include <QLabel>
#include <QTimer>

#include "windows/korvanman_fixture.h"

namespace korvan::test {
namespace {

using Window = KorvanmanTest;

TEST_F(Window, OpensOnTheStoredDirectionAndAnOddCodeIsOutgoing) {
  store("I", 11, sentUbl(), "Kupac");
  store("U", 21, purchaseEnvelope(21), u8s("Đorđević d.o.o."));
  struct Case {
    const char* stored;
    const char* combo;
    const char* ui;
    qint64 listed;
    const char* first;
    const char* second;
  };
  for (const Case& c : {Case{"U", "Ulazni dokumenti", "U", 21, "Prihvati dokument", "Odbij dokument"},
                        Case{"X", "Izlazni dokumenti", "I", 11, "Otkaži dokument", "Storniraj dokument"},
                        Case{"", "Izlazni dokumenti", "I", 11, "Otkaži dokument", "Storniraj dokument"}}) {
    SCOPED_TRACE(c.stored);
    ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", c.stored, ini));
    MyKORVANMAN* w = open();
    EXPECT_EQ(w->ocmboUI->currentText(), c.combo);
    EXPECT_EQ(w->cUI, c.ui);
    ASSERT_EQ(w->oTABELA->rowCount(), 1);
    EXPECT_EQ(rowOf(w, c.listed), 0);
    EXPECT_EQ(w->obOTKAZI_PRIHVATI->text(), u8s(c.first));
    EXPECT_EQ(w->obSTORNIRAJ_ODBIJ->text(), u8s(c.second));
    w->ZAVRSI(false);
  }
  EXPECT_EQ(GETPRIVATEPROFILESTRING("Config", "POSLEDNJI_KOJI", "", ini), "KORVANMAN");
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
}

TEST_F(Window, ButtonsColumnsAndOneOwnerOfF3) {
  MyKORVANMAN* w = open();
  EXPECT_EQ(w->oWND->windowTitle(), u8s("Upravljanje eFakturama"));
  struct Case {
    QPushButton* b;
    const char* text;
    const char* key;
  };
  for (const Case& c : {Case{w->obPREUZMI_NOVE, "Preuzmi samo nove sa sajta (F2)", "F2"},
                        Case{w->obPREUZMI_SVE, "Preuzmi SVE sa sajta", ""},
                        Case{w->obPREUZMI_PERIOD, "Preuzmi menjane u periodu", ""},
                        Case{w->obOSVEZI, "Osveži", ""},
                        Case{w->obAZU_SEL, "Ažuriraj status (F3)", "F3"},
                        Case{w->obBRISI, "Briši (F4)", "F4"},
                        Case{w->obSALJI_MEJLOM, "Pripremi za slanje mejlom (F8)", "F8"},
                        Case{w->obCUVAJ, "Sačuvaj u folder (F9)", "F9"},
                        Case{w->obPRIK_ORIG_PDF, "Prikaži originalni PDF fajl", ""},
                        Case{w->obPRIK_GENE_PDF, "Prikaži generički PDF fajl", ""},
                        Case{w->obPRIK_XML, "Prikaži XML fajl", ""},
                        Case{w->obPRIK_ATTACH, "Prikaži priloge", ""}}) {
    ASSERT_NE(c.b, nullptr) << c.text;
    EXPECT_EQ(c.b->text(), u8s(c.text));
    EXPECT_EQ(c.b->shortcut().toString(), c.key) << c.text;
    EXPECT_FALSE(c.b->icon().isNull()) << c.text;
  }
  QStringList captions;
  for (int c = 0; c < w->oTABELA->columnCount(); ++c) captions << w->oTABELA->horizontalHeaderItem(c)->text();
  EXPECT_EQ(captions, QStringList({"Status", "Broj\ndokumenta", "Tip\ndokumenta", "Datum\nizdavanja", "Datum\nprometa",
                                   u8s("Datum\ndospeća"), "Iznos", "Komitent"}));
  // The window fits a 1366 x 768 screen below the main window's menu and tool bar.
  EXPECT_LE(w->oWND->minimumSizeHint().width(), 1366);
  EXPECT_LE(w->oWND->minimumSizeHint().height(), 768 - 120);
  // No other button of the window answers F3.
  int f3 = 0;
  for (QPushButton* b : w->oDA->findChildren<QPushButton*>()) f3 += b->shortcut() == QKeySequence(Qt::Key_F3);
  EXPECT_EQ(f3, 1);
  ASSERT_TRUE(w->obSLEDECI);
  EXPECT_TRUE(w->obSLEDECI->shortcut().isEmpty());
  // F3 as the user presses it reaches the refresh.
  w->oTABELA->setFocus();
  QTest::keyClick(w->oTABELA, Qt::Key_F3);
  QTest::qWait(150);
  EXPECT_EQ(boxes.texts(), QStringList{u8s("Nema ništa selektovano!")});
}

TEST_F(Window, FillShowsColoursTagsAndFollowsTheCombo) {
  store("I", 11, sentUbl(), "Prvi");
  store("I", 12, sentUbl(), "Drugi");
  store("I", 13, sentUbl(), "Treci");
  store("U", 21, purchaseEnvelope(21), u8s("Đorđević d.o.o."));
  MyKORVANMAN* w = open();
  ASSERT_EQ(w->oTABELA->rowCount(), 3);
  EXPECT_EQ(rowOf(w, 13), 0);  // highest id first
  EXPECT_EQ(cell(w, 0, "KOMITENT"), "Treci");
  EXPECT_EQ(cell(w, 0, "DATIZD"), "05.03.2023");
  EXPECT_EQ(cell(w, 0, "IZNOS"), "100,00");
  for (int c = 0; c < w->oTABELA->columnCount(); ++c)
    EXPECT_EQ(w->oTABELA->item(0, c)->whatsThis(), w->aTABELA[0].value(LR_RECNO).toString());
  EXPECT_FALSE(w->oTABELA->item(0, 0)->flags() & Qt::ItemIsEditable);
  w->aMENJANO = {{12, EFM_DODAT}, {11, EFM_IZMENJEN}};
  w->obOSVEZI->click();
  EXPECT_EQ(colour(w, 12), QColor("yellow").name());
  EXPECT_EQ(colour(w, 11), QColor("salmon").name());
  EXPECT_EQ(colour(w, 13), "");
  w->ocmboUI->setCurrentIndex(1);
  EXPECT_EQ(iniValue("UI"), "U");
  ASSERT_EQ(w->oTABELA->rowCount(), 1);
  EXPECT_EQ(cell(w, 0, "KOMITENT"), u8s("Đorđević d.o.o."));
  EXPECT_EQ(w->obOTKAZI_PRIHVATI->text(), "Prihvati dokument");
  EXPECT_TRUE(calls().isEmpty()) << "a refill talks to no server";
}

TEST_F(Window, AStoppedFillKeepsOnlyTheRowsFilled) {
  for (int id = 1; id <= 6; ++id) store("I", id, sentUbl(), "K");
  MyKORVANMAN* w = open();
  ASSERT_EQ(w->oTABELA->rowCount(), 6);
  {
    StopAt stop("       3/");
    w->POPUNI_TABELU();
  }
  EXPECT_EQ(w->oTABELA->rowCount(), 2);
  EXPECT_EQ(w->aTABELA.size(), 2);
  EXPECT_EQ(cell(w, 1, "BRDOK"), "D-5");
}

TEST_F(Window, RefusalsBeforeAnythingIsSent) {
  store("I", 11, sentUbl(), "K");
  store("U", 21, purchaseEnvelope(21), "K");
  struct Case {
    const char* ui;
    bool select;
    const char* key;
    std::function<void(MyKORVANMAN*)> act;
    QStringList shown;
  };
  const QString none = u8s("Nema ništa selektovano!");
  const QString noKey = u8s("Nije unet 'API ključ' u opciji 'Podaci firme'!");
  const QList<Case> cases = {
      {"U", true, "K", [](MyKORVANMAN* w) { w->OTKAZI_SEL(false); }, {"Samo IZLAZNI dokumenti mogu da se otkazuju!"}},
      {"U", true, "K", [](MyKORVANMAN* w) { w->OTKAZI_SEL(true); }, {"Samo IZLAZNI dokumenti mogu da se storniraju!"}},
      {"I", true, "K", [](MyKORVANMAN* w) { w->PRIHV_ODBIJ_SEL(true); }, {"Samo ULAZNI dokumenti mogu da se prihvataju!"}},
      {"I", true, "K", [](MyKORVANMAN* w) { w->PRIHV_ODBIJ_SEL(false); }, {"Samo ULAZNI dokumenti mogu da se odbijaju!"}},
      {"I", false, "K", [](MyKORVANMAN* w) { w->OTKAZI_SEL(false); }, {none}},
      {"U", false, "K", [](MyKORVANMAN* w) { w->BRISI(); }, {none}},
      {"I", false, "K", [](MyKORVANMAN* w) { w->PRIK_FAJL(1); }, {none}},
      {"I", false, "K", [](MyKORVANMAN* w) { w->PRIK_ATTACH(); }, {none}},
      {"I", true, "", [](MyKORVANMAN* w) { w->AZU_SEL(); }, {noKey}},
      {"I", true, "", [](MyKORVANMAN* w) { w->OTKAZI_SEL(true); }, {noKey}},
      {"U", true, "", [](MyKORVANMAN* w) { w->PRIHV_ODBIJ_SEL(false); }, {noKey}},
      {"I", true, "", [](MyKORVANMAN* w) { w->PREUZMI_SVE(true); }, {noKey}},
  };
  for (int i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", c.ui, ini));
    MyKORVANMAN* w = open(c.key);
    if (c.select) w->oTABELA->setCurrentCell(0, 1);
    boxes.shown.clear();
    c.act(w);
    EXPECT_EQ(boxes.texts(), c.shown);
    w->ZAVRSI(false);
  }
  // In test mode a cancel without a key also says where the key comes from.
  writeFile(GETAPPPATH() + "TEST.!!!", "");
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", "I", ini));
  MyKORVANMAN* w = open("");
  w->oTABELA->setCurrentCell(0, 1);
  boxes.shown.clear();
  w->OTKAZI_SEL(false);
  EXPECT_EQ(boxes.texts(), QStringList({noKey, "EFM+API_KLJUC"}));
  EXPECT_TRUE(calls().isEmpty());
}

TEST_F(Window, CancelAndStornoSendTheirReasonThenRefresh) {
  store("I", 11, sentUbl(), "K");
  MyKORVANMAN* w = open();
  for (bool reverse : {false, true}) {
    SCOPED_TRACE(reverse);
    select(w, 11);
    const int before = int(peer.requests().size());
    boxes.answers = {1};  // Yes
    QString title;
    answerText(u8s("Pogrešan iznos \"A\""), nullptr, &title);
    reverse ? w->obSTORNIRAJ_ODBIJ->click() : w->obOTKAZI_PRIHVATI->click();
    EXPECT_EQ(title, reverse ? "Storniranje dokumenta" : "Otkazivanje dokumenta");
    const QList<PeerRequest> r = peer.requests().mid(before);
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[0].path, reverse ? "/api/publicApi/sales-invoice/storno" : "/api/publicApi/sales-invoice/cancel");
    EXPECT_EQ(QString::fromUtf8(r[0].body),
              QString("{\"invoiceId\": 11, \"") + (reverse ? "stornoComment" : "cancelComments") +
                  u8s("\": \"Pogrešan iznos \\\"A\\\"\"}"));
    EXPECT_EQ(r[1].path, "/api/publicApi/sales-invoice/xml");
    EXPECT_EQ(r[1].query, "invoiceId=11");
    EXPECT_EQ(r[2].path, "/api/publicApi/sales-invoice");
  }
  // No to the question sends nothing.
  const int before = int(peer.requests().size());
  boxes.answers = {0};
  w->OTKAZI_SEL(false);
  EXPECT_EQ(peer.requests().size(), before);
}

TEST_F(Window, AFailedRejectKeepsItsReasonAndOffersItAgain) {
  store("U", 21, purchaseEnvelope(21), "K");
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", "U", ini));
  peer.script("POST", "purchase-invoice/acceptRejectPurchaseInvoice",
              {PeerAnswer::json(R"({"Success":false})"), PeerAnswer::json(R"({"Success":true})")});
  peer.document("purchase", 21, purchaseEnvelope(21));
  MyKORVANMAN* w = open();
  select(w, 21);
  boxes.answers = {1};
  QString offered = "<not asked>";
  answerText(u8s("Nije naručeno"), &offered);
  w->obSTORNIRAJ_ODBIJ->click();
  EXPECT_EQ(offered, "");
  EXPECT_EQ(boxes.texts().value(1), u8s("Nije uspelo, odgovor servera:\n{\"Success\":false}"));
  QList<PeerRequest> r = peer.requests();
  ASSERT_EQ(r.size(), 3);
  EXPECT_EQ(QString::fromUtf8(r[0].body), u8s("{\"invoiceId\": 21, \"accepted\": false, \"comment\": \"Nije naručeno\"}"));
  EXPECT_EQ(r[1].path, "/api/publicApi/purchase-invoice/xml");
  // The second try starts with the reason kept.
  select(w, 21);
  boxes.answers = {1};
  answerText(std::nullopt, &offered);
  w->PRIHV_ODBIJ_SEL(false);
  EXPECT_EQ(offered, u8s("Nije naručeno"));
  EXPECT_EQ(peer.requests().size(), 3) << "a cancelled reason sends nothing";
  // Accepting asks for no reason and sends an empty comment.
  select(w, 21);
  boxes.answers = {1};
  w->obOTKAZI_PRIHVATI->click();
  r = peer.requests();
  ASSERT_EQ(r.size(), 6);
  EXPECT_EQ(QString::fromUtf8(r[3].body), "{\"invoiceId\": 21, \"accepted\": true, \"comment\": \"\"}");
}

TEST_F(Window, ARefreshWhoseDocumentIsGoneRecordsItInFals) {
  store("I", 11, sentUbl(), "K", QDate(2023, 3, 5), "Poslato");
  peer.scriptQuery("GET", "sales-invoice/xml", "invoiceId=11",
                   {PeerAnswer::json("Not found UBL file for invoice Id 11", 404)});
  MyKORVANMAN* w = open();
  select(w, 11);
  w->obAZU_SEL->click();
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoji fajl sa Id 11"});
  EXPECT_TRUE(EFMDB_JESTE_FALS({}, "I", 11));
  EXPECT_EQ(cell(w, 0, "STATUS"), "Poslato");
  // A served document refreshes the row and marks it changed.
  peer.document("sales", 11, salesEnvelope(11, "Novi kupac"));
  boxes.shown.clear();
  select(w, 11);
  w->AZU_SEL();
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
  EXPECT_EQ(cell(w, 0, "KOMITENT"), "Novi kupac");
  EXPECT_EQ(colour(w, 11), QColor("salmon").name());
}

TEST_F(Window, ShowingFilesWritesThemIntoTmpAndOpensOnlyWhatWasWritten) {
  store("U", 21, purchaseEnvelope(21), u8s("Đorđević d.o.o."));
  store("I", 11, sentUbl(), "K");
  const QByteArray notPdf = "<Invoice><cbc:EmbeddedDocumentBinaryObject>" + QByteArray("MZ\x90").toBase64() +
                            "</cbc:EmbeddedDocumentBinaryObject></Invoice>";
  store("I", 12, notPdf, "K");
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", "U", ini));
  MyKORVANMAN* w = open();
  const QString tmp = GETAPPPATH() + "TMP/";
  select(w, 21);
  w->obPRIK_ORIG_PDF->click();
  w->obPRIK_GENE_PDF->click();
  w->obPRIK_XML->click();
  ASSERT_EQ(shell.calls.size(), 3);
  EXPECT_EQ(shell.calls[0].target, tmp + "21.pdf");
  EXPECT_EQ(shell.calls[1].target, tmp + "21_generic.pdf");
  EXPECT_EQ(shell.calls[2].target, tmp + "21.xml");
  EXPECT_EQ(readFile(tmp + "21.pdf"), ownPdf());
  EXPECT_EQ(readFile(tmp + "21_generic.pdf"), systemPdf());
  EXPECT_EQ(readFile(tmp + "21.xml"), purchaseEnvelope(21));
  EXPECT_TRUE(boxes.shown.isEmpty());

  // A sent row has no system PDF: an earlier file of that name is not opened.
  w->ocmboUI->setCurrentIndex(0);
  writeFile(tmp + "11_generic.pdf", "stale");
  select(w, 11);
  w->obPRIK_GENE_PDF->click();
  EXPECT_EQ(boxes.texts(), QStringList{"Ne postoje podaci za ovu vrstu fajla!"});
  EXPECT_EQ(shell.calls.size(), 3);
  // Content that is no PDF is not handed to the PDF viewer.
  boxes.shown.clear();
  select(w, 12);
  w->obPRIK_ORIG_PDF->click();
  EXPECT_EQ(boxes.texts(), QStringList{u8s("Sadržaj elementa cbc:EmbeddedDocumentBinaryObject nije PDF fajl, ne otvaram ga!")});
  EXPECT_EQ(shell.calls.size(), 3);
  // A double click off the status column asks which file.
  boxes.shown.clear();
  boxes.answers = {3};
  select(w, 11);
  w->DBL_KLIK(rowOf(w, 11), 1);
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text, "Izaberite fajl");
  EXPECT_EQ(boxes.shown[0].buttons, QStringList({"Originalni PDF", u8s("Generički PDF"), "XML", "Odustani"}));
  ASSERT_EQ(shell.calls.size(), 4);
  EXPECT_EQ(shell.calls[3].target, tmp + "11.xml");
  // On the status column it offers the operations of the direction.
  boxes.shown.clear();
  boxes.answers = {3};
  w->DBL_KLIK(rowOf(w, 11), 0);
  ASSERT_EQ(boxes.shown.size(), 1);
  EXPECT_EQ(boxes.shown[0].text, "Izaberite opciju");
  EXPECT_EQ(boxes.shown[0].buttons, QStringList({u8s("Otkaži dokument"), "Storniraj dokument", "Odustani"}));
}

TEST_F(Window, AttachmentsWithANameAreListedReadOnly) {
  store("U", 21, purchaseEnvelope(21), "K");
  store("U", 22, "<Invoice><cbc:EmbeddedDocumentBinaryObject>QQ==</cbc:EmbeddedDocumentBinaryObject></Invoice>", "K");
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", "U", ini));
  MyKORVANMAN* w = open();
  for (const auto& [id, names] : QList<QPair<qint64, QStringList>>{{21, {"racun.pdf", "..\\..\\ugovor.pdf"}}, {22, {}}}) {
    SCOPED_TRACE(id);
    select(w, id);
    QStringList shown;
    bool addable = true;
    whenModal([&](QWidget* d) {
      auto* t = d->findChild<QTableWidget*>();
      for (int r = 0; t && r < t->rowCount(); ++r) shown << (t->item(r, 0) ? t->item(r, 0)->text() : "");
      addable = button(d, "Dodaj (F2)") != nullptr || button(d, "Zatvori") == nullptr;
      qobject_cast<QDialog*>(d)->reject();
    });
    w->obPRIK_ATTACH->click();
    EXPECT_EQ(shown.size(), names.size()) << shown.join("|").toStdString();
    for (const QString& n : names) EXPECT_TRUE(shown.join("|").contains(n)) << n.toStdString();
    EXPECT_FALSE(addable);
  }
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("ugovor.pdf")));
  // A document that does not parse shows its error and no dialog.
  store("U", 23, "<Invoice><cbc:ID>", "K");
  w->POPUNI_TABELU();
  select(w, 23);
  w->PRIK_ATTACH();
  EXPECT_EQ(boxes.texts(), QStringList{u8s("Greška pri parsiranju XML fajla:          4")});
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Window, DeletingAsksAndRemovesOnlyTheLocalRow) {
  store("I", 11, sentUbl(), "K");
  store("I", 12, sentUbl(), "K");
  MyKORVANMAN* w = open();
  select(w, 12);
  boxes.answers = {0};
  w->obBRISI->click();
  EXPECT_EQ(w->oTABELA->rowCount(), 2);
  select(w, 12);
  boxes.answers = {1};
  w->obBRISI->click();
  EXPECT_EQ(boxes.texts(), QStringList({u8s("Da li sigurno brišete selektovanu stavku?"),
                                        u8s("Da li sigurno brišete selektovanu stavku?")}));
  ASSERT_EQ(w->oTABELA->rowCount(), 1);
  EXPECT_EQ(rowOf(w, 11), 0);
  EXPECT_FALSE(EFMDB_POSTOJI_INVOICE({}, "I", 12));
  EXPECT_TRUE(calls().isEmpty());
}

}  // namespace
}  // namespace korvan::test
