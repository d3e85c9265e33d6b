#pragma once
// The e-invoice manager window in a real main window, with a program folder
// of its own, the local store, the HTTPS peer, scripted boxes and a
// recording shell; and the documents the tests store and serve.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/dbf/workarea.h"
#include "common/globals.h"
#include "common/ini.h"
#include "common/letters.h"
#include "einvoice/curlcall.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/fixture.h"
#include "support/peer.h"
#include "support/programfolder.h"
#include "support/recordingshell.h"
#include "support/scriptedpresenter.h"
#include "ui/frame.h"
#include "ui/modal.h"
#include "windows/mykorvanman.h"

namespace korvan::test {

inline QString u8s(const char* s) { return QString::fromUtf8(s); }

// The PDFs inside the documents.
inline QByteArray ownPdf() { return fakePdf("own invoice"); }
inline QByteArray systemPdf() { return fakePdf("generic"); }

// A received invoice as the system serves it: its own PDF (with a file name),
// two attachments (one named with folders, one without a name), the system's
// PDF, supplier "Đorđević d.o.o.".
inline QByteArray purchaseEnvelope(qint64 id, const char* partner = "Đorđević d.o.o.",
                                   const char* issued = "2023-03-05") {
  const QByteArray i = QByteArray::number(id);
  return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                    "<env:DocumentEnvelope xmlns:env=\"urn:eFaktura:MinFinrs:envelop:schema\">\r\n"
                    "<env:DocumentHeader><env:PurchaseInvoiceId>") + i +
         "</env:PurchaseInvoiceId></env:DocumentHeader>\r\n<env:DocumentBody><Invoice>"
         "<cbc:ID>UF-" + i + "/23</cbc:ID><cbc:IssueDate>" + issued + "</cbc:IssueDate>"
         "<cbc:DueDate>2023-04-04</cbc:DueDate><cbc:InvoiceTypeCode>380</cbc:InvoiceTypeCode>"
         "<cac:InvoicePeriod><cbc:ActualDeliveryDate>2023-03-04</cbc:ActualDeliveryDate></cac:InvoicePeriod>"
         "<cac:AdditionalDocumentReference><cbc:ID>1</cbc:ID><cac:Attachment>"
         "<cbc:EmbeddedDocumentBinaryObject mimeCode=\"application/pdf\" filename=\"racun.pdf\">" +
         ownPdf().toBase64() +
         "</cbc:EmbeddedDocumentBinaryObject></cac:Attachment></cac:AdditionalDocumentReference>"
         "<cac:AdditionalDocumentReference><cbc:ID>2</cbc:ID><cac:Attachment>"
         "<cbc:EmbeddedDocumentBinaryObject mimeCode=\"application/pdf\" filename=\"..\\..\\ugovor.pdf\">" +
         fakePdf("contract").toBase64() +
         "</cbc:EmbeddedDocumentBinaryObject></cac:Attachment></cac:AdditionalDocumentReference>"
         "<cac:AdditionalDocumentReference><cbc:ID>3</cbc:ID><cac:Attachment>"
         "<cbc:EmbeddedDocumentBinaryObject mimeCode=\"text/csv\">" + QByteArray("a;b\r\n").toBase64() +
         "</cbc:EmbeddedDocumentBinaryObject></cac:Attachment></cac:AdditionalDocumentReference>"
         "<cac:AccountingSupplierParty><cac:Party><cac:PartyLegalEntity><cbc:RegistrationName>" + partner +
         "</cbc:RegistrationName></cac:PartyLegalEntity></cac:Party></cac:AccountingSupplierParty>"
         "<cac:LegalMonetaryTotal><cbc:PayableAmount currencyID=\"RSD\">1200.00</cbc:PayableAmount>"
         "</cac:LegalMonetaryTotal></Invoice></env:DocumentBody>\r\n<env:DocumentPdf>" +
         systemPdf().toBase64() + "</env:DocumentPdf>\r\n</env:DocumentEnvelope>\r\n";
}

// A sent invoice as a send records it: the plain UBL file, without the
// system's PDF.
inline QByteArray sentUbl(const char* partner = "Đorđević d.o.o.") {
  return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Invoice><cbc:ID>R-1/23</cbc:ID>"
                    "<cbc:IssueDate>2023-03-05</cbc:IssueDate><cac:AdditionalDocumentReference>"
                    "<cac:Attachment><cbc:EmbeddedDocumentBinaryObject mimeCode=\"application/pdf\" "
                    "filename=\"R-1.pdf\">") +
         ownPdf().toBase64() +
         "</cbc:EmbeddedDocumentBinaryObject></cac:Attachment></cac:AdditionalDocumentReference>"
         "<cac:AccountingCustomerParty><cac:Party><cac:PartyLegalEntity><cbc:RegistrationName>" + partner +
         "</cbc:RegistrationName></cac:PartyLegalEntity></cac:Party></cac:AccountingCustomerParty></Invoice>\n";
}

// A sales envelope as the system serves it for a download.
inline QByteArray salesEnvelope(qint64 id, const char* partner = "Kupac d.o.o.") {
  const QByteArray i = QByteArray::number(id);
  return QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<env:DocumentEnvelope>"
                    "<env:DocumentHeader><env:SalesInvoiceId>") + i +
         "</env:SalesInvoiceId></env:DocumentHeader><env:DocumentBody><Invoice><cbc:ID>R-" + i +
         "</cbc:ID><cbc:IssueDate>2024-03-01</cbc:IssueDate><cbc:DueDate>2024-03-31</cbc:DueDate>"
         "<cbc:InvoiceTypeCode>380</cbc:InvoiceTypeCode><cac:InvoicePeriod>"
         "<cbc:ActualDeliveryDate>2024-03-01</cbc:ActualDeliveryDate></cac:InvoicePeriod>"
         "<cac:AccountingCustomerParty><cac:Party><cac:PartyLegalEntity><cbc:RegistrationName>" + partner +
         "</cbc:RegistrationName></cac:PartyLegalEntity></cac:Party></cac:AccountingCustomerParty>"
         "<cac:LegalMonetaryTotal><cbc:PayableAmount>10.00</cbc:PayableAmount></cac:LegalMonetaryTotal>"
         "</Invoice></env:DocumentBody><env:DocumentPdf>" + systemPdf().toBase64() +
         "</env:DocumentPdf></env:DocumentEnvelope>";
}

class KorvanmanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    G_ISUTF8(true);
    QDir().mkpath(GETAPPPATH() + "TMP");
    ini = FN_INI("aplik.ini");
    writeFile(ini, "[Firma]\r\nPIB=100200300\r\n");
    SET_TODAY_CLOCK([] { return QDate(2024, 3, 10); });
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    mw = new QMainWindow;
    area = new QMdiArea;
    area->setViewMode(QMdiArea::TabbedView);
    mw->setCentralWidget(area);
    mw->resize(1366, 768);
    mw->show();
  }
  void TearDown() override {
    delete mw.data();
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    dbf::closeAllAreas();
    EFM_SET_LIMITS({});
    MyFRAME::SET_INTERVAL(50);
    G_CFOLDER_CUVANJE(QString());
    G_CFOLDER_SALJI_MEJLOM(QString());
    SET_TODAY_CLOCK({});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor was left on";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a box was left open";
  }

  // The shell's three calls.
  MyKORVANMAN* open(const QString& key = "KLJUC") {
    auto* w = new MyKORVANMAN;
    w->New(mw, area, nullptr, QApplication::font(), u8s("Upravljanje eFakturama"));
    w->POSTAVI(key, u8s("Nije unet 'API ključ' u opciji 'Podaci firme'!"), "100200300");
    w->PREGLED(area->activeSubWindow());
    QCoreApplication::processEvents();
    return w;
  }

  // Stores an invoice as a download would.
  static void store(const QString& ui, qint64 id, const QByteArray& xml, const QString& partner,
                    const QDate& issued = QDate(2023, 3, 5), const QString& status = "Poslato") {
    EfmPromene ignored;
    const EfmZaglavlje h = {QVariant::fromValue(id), QDate(), QString("D-%1").arg(id), issued, u8s("Račun"), 100.0,
                            partner, QDate(), QString::fromUtf8(xml), status};
    ASSERT_TRUE(EFMDB_DODAJ_IZMENI({}, ui, h, ignored));
  }

  // The table row showing the id, -1 when none.
  static int rowOf(MyKORVANMAN* w, qint64 id) {
    for (int r = 0; r < w->aTABELA.size() && r < w->oTABELA->rowCount(); ++r)
      if (w->aTABELA[r].value(LR_ID).toLongLong() == id) return r;
    return -1;
  }
  static void select(MyKORVANMAN* w, qint64 id, int column = 1) {
    const int r = rowOf(w, id);
    ASSERT_GE(r, 0) << "no row for " << id;
    w->oTABELA->setCurrentCell(r, column);
  }
  static QString cell(MyKORVANMAN* w, int row, const char* field) {
    const QTableWidgetItem* it = w->oTABELA->item(row, KOLONA_PO_POLJU(w->aKOLONE, field));
    return it ? it->text() : "<none>";
  }
  static QString colour(MyKORVANMAN* w, qint64 id) {
    const QTableWidgetItem* it = w->oTABELA->item(rowOf(w, id), 0);
    if (!it) return "<none>";
    return it->background().style() == Qt::NoBrush ? QString() : it->background().color().name();
  }
  // The requests that reached the API, as "METHOD path?query".
  QStringList calls() const {
    QStringList out;
    for (const PeerRequest& r : peer.requests())
      out << r.method + " " + r.path.mid(QString("/api/publicApi/").size()) + (r.query.isEmpty() ? "" : "?" + r.query);
    return out;
  }
  QString iniValue(const QString& key) const { return GETPRIVATEPROFILESTRING("KorvanMan", key, "<absent>", ini); }

  // Answers the next entry dialog: the two dates, or the one text (nullopt
  // for the texts: Cancel). offered gets the text the row started with.
  static void answerDates(const QDate& from, const QDate& to, QList<QDate>* offered = nullptr) {
    whenModal([=](QWidget* d) {
      auto* a = d->findChild<QDateEdit*>("EDIT_1_1_1");
      auto* b = d->findChild<QDateEdit*>("EDIT_2_2_1");
      if (!a || !b) return ADD_FAILURE() << "no date rows";
      if (offered) *offered = {a->date(), b->date()};
      a->setDate(from);
      b->setDate(to);
      button(d, "Ok")->click();
    });
  }
  static void answerText(const std::optional<QString>& text, QString* offered = nullptr, QString* title = nullptr) {
    whenModal([=](QWidget* d) {
      auto* e = d->findChild<QLineEdit*>("EDIT_1_1_1");
      if (!e) return ADD_FAILURE() << "no text row";
      if (offered) *offered = e->text();
      if (title) *title = d->windowTitle();
      if (!text) return button(d, "Cancel")->click();
      e->setText(*text);
      button(d, "Ok")->click();
    });
  }
  // While it lives, every box step runs events, and the box whose text
  // begins with the prefix is stopped (as "Prekid" does) when it shows it.
  class StopAt {
   public:
    explicit StopAt(const QString& prefix) {
      MyFRAME::SET_INTERVAL(0);
      watch_.setInterval(0);
      QObject::connect(&watch_, &QTimer::timeout, [prefix] {
        for (QWidget* t : QApplication::topLevelWidgets())
          if (auto* l = t->findChild<QLabel*>(); t->isVisible() && l && l->text().startsWith(prefix))
            if (QPushButton* b = button(t, "Prekid")) b->click();
      });
      watch_.start();
    }
    ~StopAt() { MyFRAME::SET_INTERVAL(50); }
   private:
    QTimer watch_;
  };
  // Stops the progress box on screen (as "Prekid" does).
  static void stopTheBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible())
        if (QPushButton* b = button(w, "Prekid")) return b->click();
    ADD_FAILURE() << "no progress box on screen";
  }

  // A blank and a Serbian letter in every path.
  TempProgramFolder dir{u8s("program š")};
  QString ini;
  Peer peer;
  ScriptedPresenter boxes;
  RecordingShell shell;
  QPointer<QMainWindow> mw;
  QMdiArea* area = nullptr;
};

}  // namespace korvan::test
