#pragma once
// The attachment dialog "Pregled fajlova": shows an attachment list, adds
// files to it, opens and deletes entries. It works on a copy of the list and
// hands the copy back only when accepted.
#include <QFont>
#include <QString>

#include "einvoice/attachment.h"

class QTableWidget;
class QLabel;
class QWidget;

namespace korvan {

// true when the dialog was closed with "Zapamti" ("Zatvori" when read-only);
// the list is then the edited copy. Otherwise the list is left as it was.
bool DLG_ATTACH(QWidget* parent, const QFont& font, AttachList& list, bool protectFirst = true,
                bool editable = true);

// The private folder below TMP of the program folder where entries are
// written for viewing (created on first use, ending in "/"); empty when it
// cannot be created.
QString ATTACH_VIEW_DIR();

// The steps of the dialog, on its working copy.
namespace dlgatt {
void POPUNI_OTWFAJLOVI(QTableWidget* table, const AttachList& list);
void POSTAVI_KOLONU(QTableWidget* table, int row, const QString& name, int position);
void PRIKAZI_FSIZE(QLabel* label, const AttachList& list);
void DODAJ(QTableWidget* table, QLabel* label, AttachList& list);
void PREGLED(QTableWidget* table, const AttachList& list);
void BRISI(QTableWidget* table, QLabel* label, AttachList& list, bool protectFirst);
}  // namespace dlgatt

}  // namespace korvan
