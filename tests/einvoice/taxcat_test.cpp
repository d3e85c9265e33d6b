// VAT categories, exemption reasons, and the VAT row of an invoice window
// with a scripted row picker.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <gtest/gtest.h>

#include "einvoice/ui/taxpick.h"

using namespace korvan;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

TEST(TaxLists, NineCategoriesInOrder) {
  QStringList codes;
  for (const TaxCategory& c : ATAX_CAT()) codes << c.code;
  EXPECT_EQ(codes, (QStringList{"S", "AE", "Z", "E", "R", "O", "OE", "SS", "N"}));
  EXPECT_EQ(ATAX_CAT()[7].text, u("Mali obveznici, turističke agencije..."));
}

TEST(TaxLists, ExemptionsByCategoryUniqueWithTheirTexts) {
  const QList<TaxExemptionGroup> all = ATAX_EXEM();
  QStringList cats;
  QList<int> counts;
  QSet<QString> codes;
  int total = 0;
  for (const TaxExemptionGroup& g : all) {
    cats << g.category;
    counts << g.items.size();
    for (const TaxExemption& e : g.items) {
      EXPECT_TRUE(e.code.startsWith("PDV-RS-")) << e.code.toStdString();
      EXPECT_FALSE(e.text.trimmed().isEmpty()) << e.code.toStdString();
      EXPECT_LE(e.text.count('\n'), 1) << e.code.toStdString();
      codes.insert(e.code);
      ++total;
    }
  }
  EXPECT_EQ(cats, (QStringList{"AE", "O", "E", "R", "Z", "SS", "OE", "N"}));
  EXPECT_EQ(counts, (QList<int>{8, 32, 29, 2, 26, 4, 7, 4}));
  EXPECT_EQ(total, 112);
  EXPECT_EQ(codes.size(), 112);

  auto text = [&](const char* cat, const char* code) {
    for (const TaxExemption& e : FIND_TAX_EXEM(all, cat)->items)
      if (e.code == code) return e.text;
    return QString("<none>");
  };
  EXPECT_EQ(text("SS", "PDV-RS-33"), u("Promet dobara i usluga koji vrši mali obveznik"));
  EXPECT_EQ(text("O", "PDV-RS-61"), u("Promet dobara sa teritorije Republike van APKM na teritoriju APKM"));
  EXPECT_EQ(text("N", "PDV-RS-4"), u("Promet dobara bez naknade, nezavisno od toga da li je predmet oporezivanja PDV "));
  EXPECT_EQ(text("E", "PDV-RS-25-2-18"), u("Poresko oslobođenje bez prava na odbitak prethodnog poreza za promet usluga "
                                           "priređivanja igara na sreću"));
  EXPECT_EQ(text("Z", "PDV-RS-24-1-15"), u("Poresko oslobođenje sa pravom na odbitak prethodnog poreza za isporuke "
                                           "zlata Narodnoj banci Srbije"));
  EXPECT_EQ(text("OE", "PDV-RS-7a-4"), u("Višenamenski vrednosni vaučer"));
  EXPECT_EQ(FIND_TAX_EXEM(all, "N")->items[2].code, "PDV-RS-6-1-1 (BN)");
  EXPECT_TRUE(IS_TAX_EXEM_OF("R", "PDV-RS-6-1-1"));
  EXPECT_FALSE(IS_TAX_EXEM_OF("N", "PDV-RS-6-1-1"));
  EXPECT_EQ(FIND_TAX_EXEM(all, "S"), nullptr);

  // Each family opens the same way.
  for (const TaxExemption& e : FIND_TAX_EXEM(all, "E")->items)
    EXPECT_TRUE(e.text.startsWith(u("Poresko oslobođenje bez prava na odbitak prethodnog poreza"))) << e.code.toStdString();
  for (const TaxExemption& e : FIND_TAX_EXEM(all, "Z")->items)
    EXPECT_TRUE(e.text.startsWith(u("Poresko oslobođenje sa pravom na odbitak prethodno"))) << e.code.toStdString();
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(FIND_TAX_EXEM(all, "AE")->items[i].text.startsWith(u("Poreski dužnik je primalac")));
  for (int i = 0; i < 5; ++i)
    EXPECT_TRUE(FIND_TAX_EXEM(all, "O")->items[i].text.startsWith(u("Mesto prometa dobara je inostranstvo - ")));
  for (const TaxExemption& e : FIND_TAX_EXEM(all, "R")->items) EXPECT_TRUE(e.text.startsWith(u("Smatra se da")));
}

class VatRow : public ::testing::Test {
 protected:
  void SetUp() override {
    setExemPicker([this](const QList<QStringList>& rows, const QFont&, const QString& title) {
      offered = rows;
      titles << title;
      return answer;
    });
  }
  void TearDown() override { setExemPicker({}); }

  QComboBox combo;
  QPushButton button;
  QList<QStringList> offered;
  QStringList titles;
  int answer = 0;
};

TEST_F(VatRow, ComboItemsShowCodeAndTextWithTheCodeAsData) {
  PUNI_TAX_CAT(&combo);
  PUNI_TAX_CAT(&combo);  // refilling starts afresh
  ASSERT_EQ(combo.count(), 9);
  EXPECT_EQ(combo.itemText(0), "S - Standardno");
  EXPECT_EQ(combo.itemText(7), u("SS - Mali obveznici, turističke agencije..."));
  EXPECT_EQ(combo.itemData(7, Qt::UserRole).toString(), "SS");
}

TEST_F(VatRow, InitialChoiceFollowsTheSellersRegistration) {
  POSTAVI_TAX_CAT_EXEM(&combo, &button, false, QFont());
  EXPECT_EQ(combo.currentText(), u("SS - Mali obveznici, turističke agencije..."));
  EXPECT_EQ(button.text(), "PDV-RS-33");
  QComboBox combo2;
  QPushButton button2;
  POSTAVI_TAX_CAT_EXEM(&combo2, &button2, true, QFont());
  EXPECT_EQ(combo2.currentText(), "S - Standardno");
  EXPECT_EQ(button2.text(), "");
}

TEST_F(VatRow, ChangingTheCategoryResetsTheButton) {
  POSTAVI_TAX_CAT_EXEM(&combo, &button, false, QFont());
  combo.setCurrentIndex(combo.findData("S"));
  EXPECT_EQ(button.text(), "");
  combo.setCurrentIndex(combo.findData("E"));
  EXPECT_EQ(button.text(), TAX_EXEM_PROMPT());
  combo.setCurrentIndex(combo.findData("SS"));
  EXPECT_EQ(button.text(), "Kliknite za izbor...");
  MENJANO_TAX_CAT(-1, &combo, &button);
  EXPECT_EQ(button.text(), "Kliknite za izbor...");
}

TEST_F(VatRow, PickerOffersTheReasonsOfTheCategory) {
  POSTAVI_TAX_CAT_EXEM(&combo, &button, false, QFont());
  const std::pair<const char*, int> cases[] = {{"SS", 4}, {"O", 32}, {"R", 2}, {"N", 4}};
  for (const auto& [cat, rows] : cases) {
    combo.setCurrentIndex(combo.findData(cat));
    answer = 1;
    button.click();
    EXPECT_EQ(offered.size(), rows) << cat;
    EXPECT_EQ(button.text(), offered.value(0).value(0)) << cat;
  }
  combo.setCurrentIndex(combo.findData("SS"));
  button.click();
  EXPECT_EQ(offered[0], (QStringList{"PDV-RS-33", u("Promet dobara i usluga koji vrši mali obveznik")}));
  EXPECT_EQ(titles.last(), u("Izaberite šifru oslobađanja PDV-a"));
  combo.setCurrentIndex(combo.findData("N"));
  answer = 3;
  button.click();
  EXPECT_EQ(button.text(), "PDV-RS-6-1-1 (BN)");
}

TEST_F(VatRow, NoChoiceShowsThePromptAndStandardOpensNoPicker) {
  POSTAVI_TAX_CAT_EXEM(&combo, &button, false, QFont());
  answer = 0;
  button.click();  // "SS" showing PDV-RS-33, closed without a choice
  EXPECT_EQ(button.text(), "Kliknite za izbor...");
  combo.setCurrentIndex(combo.findData("S"));
  titles.clear();
  button.setText("x");
  button.click();
  EXPECT_EQ(button.text(), "");
  EXPECT_TRUE(titles.isEmpty());
}

TEST_F(VatRow, ReadingBackTreatsThePromptAsNoCode) {
  POSTAVI_TAX_CAT_EXEM(&combo, &button, false, QFont());
  QString cat, exem;
  ODREDI_TAX_CAT_EXEM(&combo, &button, cat, exem);
  EXPECT_EQ(cat, "SS");
  EXPECT_EQ(exem, "PDV-RS-33");
  combo.setCurrentIndex(combo.findData("E"));
  ODREDI_TAX_CAT_EXEM(&combo, &button, cat, exem);
  EXPECT_EQ(cat, "E");
  EXPECT_EQ(exem, "");
  combo.setCurrentIndex(-1);
  ODREDI_TAX_CAT_EXEM(&combo, &button, cat, exem);
  EXPECT_EQ(cat, "");
}

TEST_F(VatRow, GenericPickerTakesTheCategoryFromTheWidgetBefore) {
  PUNI_TAX_CAT(&combo);
  combo.setCurrentIndex(combo.findData("SS"));
  QLineEdit edit;
  QString code = "old";
  answer = 2;
  IZBOR_TAX_EXEM({&combo, &edit}, 1, QFont(), code);
  EXPECT_EQ(code, "PDV-RS-35-7");
  EXPECT_EQ(edit.text(), "PDV-RS-35-7");
  combo.setCurrentIndex(combo.findData("S"));
  IZBOR_TAX_EXEM({&combo, &edit}, 1, QFont(), code);
  EXPECT_EQ(code, "");
  EXPECT_EQ(edit.text(), "");
}

}  // namespace

namespace {

// The real browse dialog behind the button: the rows of the category, two
// columns, "Ok" takes the current row and Esc chooses nothing.
TEST(VatRowDialog, ButtonOpensTheBrowseDialog) {
  QComboBox combo;
  QPushButton button;
  POSTAVI_TAX_CAT_EXEM(&combo, &button, false, QFont());
  combo.setCurrentIndex(combo.findData("R"));
  QString title;
  int rows = -1, columns = -1;
  QStringList headers;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    title = d->windowTitle();
    auto* t = d->findChild<QTableWidget*>();
    if (t) {
      rows = t->rowCount();
      columns = t->columnCount();
      for (int c = 0; c < columns; ++c) headers << t->horizontalHeaderItem(c)->text();
      t->setCurrentCell(1, 0);
    }
    for (QPushButton* b : d->findChildren<QPushButton*>())
      if (b->text() == "Ok") b->click();
    if (d->isVisible()) d->reject();
  });
  button.click();
  EXPECT_EQ(title, QString::fromUtf8("Izaberite šifru oslobađanja PDV-a"));
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(headers, (QStringList{"Kod", "Opis"}));
  EXPECT_EQ(button.text(), "PDV-RS-6a");

  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      QTest::keyClick(d, Qt::Key_Escape);
      if (d->isVisible()) d->reject();
    }
  });
  button.click();
  EXPECT_EQ(button.text(), "Kliknite za izbor...");
}

}  // namespace
