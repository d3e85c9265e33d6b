// The confirmation dialog as the user sees it, closing the status dialog
// without its button, and a send recorded in the real store.
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "einvoice/efmdbdbf.h"
#include "einvoice/ui/efmdblist.h"
#include "einvoice/salji_fixture.h"
#include "ui/kolona.h"

namespace korvan::test {
namespace {

using SendDialogTest = SendFixture;

// The texts of the grid by row and column ("" where nothing stands).
QString cell(QDialog* d, int row, int col) {
  auto* grid = qobject_cast<QGridLayout*>(d->layout());
  QLayoutItem* item = grid ? grid->itemAtPosition(row, col) : nullptr;
  QWidget* w = item ? item->widget() : nullptr;
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return "[" + e->text() + "]";
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return "<" + b->text() + ">";
  if (auto* de = qobject_cast<QDateEdit*>(w)) return "{" + de->text() + "}";
  return "";
}

TEST_F(SendDialogTest, ConfirmationRows) {
  struct Case {
    const char* name;
    double amount;
    int attachments;
    bool offer;
    QStringList rows;  // rows 1 to 6, both columns joined by "|"
  };
  const QList<Case> cases = {
      {"plain", 1234.5, 0, false,
       {"Broj dokumenta|[R-15]", "Kupac|[Kupac d.o.o.]", "Datum izdavanja|{05.03.2024}", "|", "Za uplatu|[1.234,50]", "|"}},
      {"zero, two attachments, register", 0, 2, true,
       {"Broj dokumenta|[R-15]", "Kupac|[Kupac d.o.o.]", "Datum izdavanja|{05.03.2024}", "|<Slanje u CRF?>",
        "Za uplatu|[]", "Broj priloga|2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    record.WZA_UPLATU = c.amount;
    record.aATTACH.reset();
    if (c.attachments) {
      record.aATTACH.emplace();
      for (int i = 0; i < c.attachments; ++i) record.aATTACH->append(AttachEntry{});
    }
    QStringList rows;
    bool buyerWide = false, yesDefault = false;
    onDialog("Potvrda slanja", [&](QDialog* d) {
      for (int r = 1; r <= 6; ++r) rows << cell(d, r, 0) + "|" + cell(d, r, 1);
      auto* buyer = qobject_cast<QLineEdit*>(qobject_cast<QGridLayout*>(d->layout())->itemAtPosition(2, 1)->widget());
      buyerWide = buyer->minimumWidth() == int(40 * NPOINTSIZE(d));
      yesDefault = button(d, "Da")->isDefault();
      EXPECT_EQ(cell(d, 0, 0), QString::fromUtf8("Da li sigurno želite da pošaljete XML fajl?"));
      EXPECT_EQ(cell(d, 10, 0), "<Ne>");
      QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(send(false, c.offer));
    EXPECT_EQ(rows, c.rows);
    EXPECT_TRUE(buyerWide);
    EXPECT_TRUE(yesDefault);
    EXPECT_TRUE(peer.requests().isEmpty());
  }
}

TEST_F(SendDialogTest, EscOnTheStatusDialogBeforeItsRequestKeepsTheId) {
  confirm();
  onDialog(QString::fromUtf8("Status poslatog XML eRačuna"), [](QDialog* d) { d->reject(); });
  EXPECT_FALSE(send());
  EXPECT_TRUE(requestsTo("sales-invoice").isEmpty());
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions[0].second, R"({"InvoiceId": 9001, "Status": "Unknown"})");
}

TEST_F(SendDialogTest, SentInvoiceLandsInTheStore) {
  peer.script("GET", "sales-invoice", {PeerAnswer::json(R"({"InvoiceId":9001,"Status":"Sent"})")});
  confirm();
  finishStatus();
  EXPECT_TRUE(ERACUNI_SALJI(nullptr, QApplication::font(), record, efmAccount("K", false), {}, {},
                            [this](const QString& path, const QString& answer) {
                              EFMDB_OK_ODGOVOR_U_BAZU({}, path, answer, record);
                            }));
  const auto rows = EFMDB_PUNI_TABELA({}, "I");
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][LR_ID].toLongLong(), 9001);
  EXPECT_EQ(rows[0][LR_BRDOK].toString(), "R-15");
  EXPECT_EQ(rows[0][LR_STATUS].toString(), "Poslato");
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
}

// An id sent as zero-padded text, then a failed status: the row is still
// recorded under the id, its status unknown.
TEST_F(SendDialogTest, PaddedIdWithFailedStatusLandsInTheStore) {
  peer.script("POST", "sales-invoice/ubl/upload", {PeerAnswer::json(R"({"SalesInvoiceId":"009001"})")});
  peer.script("GET", "sales-invoice", {PeerAnswer::errorObject("E", "x", 500)});
  confirm();
  finishStatus();
  EXPECT_FALSE(ERACUNI_SALJI(nullptr, QApplication::font(), record, efmAccount("K", false), {}, {},
                             [this](const QString& path, const QString& answer) {
                               EFMDB_OK_ODGOVOR_U_BAZU({}, path, answer, record);
                             }));
  ASSERT_EQ(requestsTo("sales-invoice").size(), 1);
  EXPECT_EQ(requestsTo("sales-invoice")[0].query, "invoiceId=9001");
  const auto rows = EFMDB_PUNI_TABELA({}, "I");
  ASSERT_EQ(rows.size(), 1);
  EXPECT_EQ(rows[0][LR_ID].toLongLong(), 9001);
  EXPECT_EQ(rows[0][LR_BRDOK].toString(), "R-15");
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
}

}  // namespace
}  // namespace korvan::test
