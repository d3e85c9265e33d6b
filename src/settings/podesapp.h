#pragma once
// Application folders of section Config of "aplik.ini": the mail folder and
// the save folder that the e-invoice manager window uses, two exchange
// folders and the flag that offers them. Folders are held and stored with
// "/" as separator; a "\" written by an older program reads as "/".
#include <QFont>
#include <QString>
#include <QWidget>

#include "ui/sq.h"

namespace korvan {

// Reads FOLDER_SALJI_MEJLOM, FOLDER_CUVANJE, FOLDER_ER4APLIK, FOLDER_ER2APLIK
// (default "") and DORVATIK_APP (true exactly for "T", default "T") into the
// G_ accessors of common/globals.h.
void UCITAJ_PODESAPP();

// The modal dialog "Podešavanja aplikacije" over the accessors' values. Ok
// writes the two folders (and the two exchange folders when the extended form
// showed them), then reloads the accessors from the file; Cancel writes
// nothing. A failed write is reported by the INI layer and the accessors are
// reloaded all the same, so they never claim what the file does not hold.
void PODESAPP(const QFont& font, bool extended = false);

// The "Izbor foldera" button of a row: asks "Izbor foldera?", then shows a
// folder dialog; the chosen folder fills the row's editor. No, or a cancelled
// dialog, leaves the row as it was.
void IZABERI_FOLDER(const SqEditors& editors, int row);

}  // namespace korvan
