#pragma once
// VAT categories and exemption reasons of an e-invoice, and the widgets of an
// invoice window's VAT row: the category combo and the exemption button.
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;
class QPushButton;
class QWidget;

namespace korvan {

struct TaxCategory {
  QString code;
  QString text;
};

struct TaxExemption {
  QString code;
  QString text;
};

struct TaxExemptionGroup {
  QString category;
  QList<TaxExemption> items;
};

// The 9 categories in their fixed order (S first, N last).
QList<TaxCategory> ATAX_CAT();
// Exemption reasons grouped by category (every category but S).
QList<TaxExemptionGroup> ATAX_EXEM();

// Exemption reasons of one category, nullptr when the category has none (S, empty, unknown).
const TaxExemptionGroup* FIND_TAX_EXEM(const QList<TaxExemptionGroup>& all, const QString& category);
// True when the code is one of the exemption codes of the category.
bool IS_TAX_EXEM_OF(const QString& category, const QString& code);

// Shown on the exemption button while a reason is still to be chosen.
QString TAX_EXEM_PROMPT();  // "Kliknite za izbor..."

void PUNI_TAX_CAT(QComboBox* combo);
void MENJANO_TAX_CAT(int index, QComboBox* combo, QPushButton* button);
void IZBOR_EXEM(QComboBox* combo, QPushButton* button, const QFont& font);
// Reads both codes back. The prompt counts as no exemption code chosen.
void ODREDI_TAX_CAT_EXEM(QComboBox* combo, QPushButton* button, QString& category, QString& exemption);
// The same picker for a generic entry dialog: the category comes from widgets[position - 1].
void IZBOR_TAX_EXEM(const QList<QWidget*>& widgets, int position, const QFont& font, QString& code);

// Builds the VAT row of an invoice window in the fixed order: initial choice
// ("S" with an empty button for a VAT-registered seller, "SS" with "PDV-RS-33"
// otherwise), then the change handler and the button's click.
void POSTAVI_TAX_CAT_EXEM(QComboBox* combo, QPushButton* button, bool sellerRegistered, const QFont& font);

// The row picker behind IZBOR_EXEM: rows of {code, text}; answers the chosen
// 1-based row, 0 for none. The default shows the array browse dialog.
using ExemPicker = std::function<int(const QList<QStringList>& rows, const QFont& font, const QString& title)>;
void setExemPicker(ExemPicker picker);  // empty: back to the default

}  // namespace korvan
