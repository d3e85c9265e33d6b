#pragma once
// The widgets of an invoice window's VAT row: the category combo and the
// exemption button with its picker (the array browse dialog).
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "einvoice/taxcat.h"

class QComboBox;
class QPushButton;
class QWidget;

namespace korvan {

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
