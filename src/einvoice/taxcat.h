#pragma once
// VAT categories and exemption reasons of an e-invoice: the fixed lists and
// the checks on them. The widgets of a window's VAT row are in
// einvoice/ui/taxpick.h.
#include <QList>
#include <QString>
#include <QStringList>

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

}  // namespace korvan
