#include "einvoice/ui/taxpick.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

#include "ui/dbgarray.h"

namespace korvan {
namespace {

ExemPicker& customPicker() {
  static ExemPicker p;
  return p;
}

// The array browse dialog over the rows, with the code and text columns.
int defaultPicker(const QList<QStringList>& rows, const QFont& font, const QString& title) {
  QVariantList data;
  for (const QStringList& r : rows) data.append(QVariant(r));
  const QList<MyKOLONA> kolone = {MyKOLONA::New("KOD", "Kod", "C", 30), MyKOLONA::New("OPIS", "Opis", "M", 50)};
  return DISP_DEBUG_ARRAY(data, font, true, title, kolone, true, false, true);
}

int pick(const QList<QStringList>& rows, const QFont& font, const QString& title) {
  if (customPicker()) return customPicker()(rows, font, title);
  return defaultPicker(rows, font, title);
}

QString currentCategory(QComboBox* combo) {
  if (!combo || combo->currentIndex() < 0) return QString();
  return combo->itemData(combo->currentIndex()).toString();
}

// Runs the picker over the reasons of a category: the chosen code, or an
// empty text when nothing was chosen. `found` tells whether the category has reasons.
QString chooseExemption(const QString& category, const QFont& font, bool* found) {
  const QList<TaxExemptionGroup> all = ATAX_EXEM();
  const TaxExemptionGroup* g = FIND_TAX_EXEM(all, category);
  *found = g != nullptr;
  if (!g) return QString();
  QList<QStringList> rows;
  for (const TaxExemption& e : g->items) rows.append({e.code, e.text});
  const int k = pick(rows, font, QString::fromUtf8("Izaberite šifru oslobađanja PDV-a"));
  if (k < 1 || k > rows.size()) return QString();
  return rows[k - 1][0];
}

QString widgetText(QWidget* w) {
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  return QString();
}

void setWidgetText(QWidget* w, const QString& text) {
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    if (c->isEditable()) c->setEditText(text);
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(text);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(text);
  }
}

}  // namespace

void setExemPicker(ExemPicker picker) { customPicker() = std::move(picker); }

void PUNI_TAX_CAT(QComboBox* combo) {
  if (!combo) return;
  combo->clear();
  for (const TaxCategory& c : ATAX_CAT()) combo->addItem(c.code + " - " + c.text, c.code);
}

void MENJANO_TAX_CAT(int index, QComboBox* combo, QPushButton* button) {
  if (!button) return;
  button->setText(TAX_EXEM_PROMPT());
  if (combo && index >= 0 && combo->itemData(index).toString() == QLatin1String("S")) button->setText(QString());
}

void IZBOR_EXEM(QComboBox* combo, QPushButton* button, const QFont& font) {
  if (!button) return;
  bool found = false;
  const QString code = chooseExemption(currentCategory(combo), font, &found);
  if (!found) {
    button->setText(QString());
    return;
  }
  button->setText(code.isEmpty() ? TAX_EXEM_PROMPT() : code);
}

void ODREDI_TAX_CAT_EXEM(QComboBox* combo, QPushButton* button, QString& category, QString& exemption) {
  category = currentCategory(combo);
  exemption = button ? button->text() : QString();
  if (exemption == TAX_EXEM_PROMPT()) exemption.clear();
}

void IZBOR_TAX_EXEM(const QList<QWidget*>& widgets, int position, const QFont& font, QString& code) {
  code.clear();
  if (position < 1 || position >= widgets.size()) return;
  QString category = widgetText(widgets[position - 1]);
  const int dash = category.indexOf('-');
  if (dash >= 0) category = category.left(dash).trimmed();
  bool found = false;
  code = chooseExemption(category, font, &found);
  setWidgetText(widgets[position], code);
}

void POSTAVI_TAX_CAT_EXEM(QComboBox* combo, QPushButton* button, bool sellerRegistered, const QFont& font) {
  PUNI_TAX_CAT(combo);
  combo->setCurrentIndex(combo->findData(sellerRegistered ? QStringLiteral("S") : QStringLiteral("SS")));
  QObject::connect(combo, &QComboBox::currentIndexChanged, button,
                   [combo, button](int index) { MENJANO_TAX_CAT(index, combo, button); });
  QObject::connect(button, &QPushButton::clicked, combo,
                   [combo, button, font]() { IZBOR_EXEM(combo, button, font); });
  button->setText(sellerRegistered ? QString() : QStringLiteral("PDV-RS-33"));
}

}  // namespace korvan
