#pragma once
// Look configuration: palette (one of 18 fixed rows or a free colour), the
// point sizes of the standard and the small font, and the widget style.
// Palette, free colour and sizes live in the per-user INI file (read from
// "_DEFAULT.ini" while the per-user file does not exist); the style lives in
// section Config of "aplik.ini".
#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <optional>

class QApplication;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

namespace korvan {

struct PaletteRow {
  QString name;                          // shown in the dialog
  std::optional<Qt::GlobalColor> colour;  // none for row 1: the palette from before any change
};

// The 18 palette rows, row 1 first.
const QList<PaletteRow>& APALETA();
// The widget styles the style factory offers, in lower case, in its order.
QStringList ASTYLE();
// The per-user INI file: program folder + G_USER() + ".ini".
QString FN_USERINI();

// The stored look. Values read from the files that are out of range (a
// palette row outside 1..18, a size outside 5..25) or not a colour read as
// their defaults.
struct LookSettings {
  int palette = 1;
  int fontSize = 12;
  int smallFontSize = 8;
  QString formsFolder;
  QString updateFolder;
  bool matrixPrinter = false;
  bool halfPage = false;
  QString style;
  QString customColour;
};

// Which optional settings are read or written.
struct LookRows {
  bool forms = true;
  bool update = true;
  bool printers = true;
  bool style = false;
};

LookSettings UCITAJ_KONFIG(const LookRows& rows);
// Writes the settings of the given rows; true when every write succeeded
// (the first failed write has shown its message and ends the writing).
bool ZAPAMTI_KONFIG(const LookSettings& s, const LookRows& rows);

// Start-up: reads the look and applies the palette (a row above 1 wins over
// a free colour), stores the sizes, folders and flags in their accessors and,
// with applyStyle, sets a stored style that the style factory knows.
void POSTAVI_KONFIG(QApplication* app, const QString& appName = QString(), bool applyStyle = false);

// The modal look dialog "Konfigurisanje".
void KONFIG(QApplication* app, const QFont& font, QWidget* mainWindow, bool formsRow = true,
            bool updateRow = true, bool printerRows = true, bool styleRow = false);

// The dialog's choosers: the free colour (empties it when cancelled) and a folder.
void IZABERI_BOJU(QString& freeColour, QLabel* colourLabel, QDialog* parent, QComboBox* paletteCombo);
void IZABERI_PUT(QLineEdit* edit);

// Further settings of the per-user file (accessor convention of G_NVEL_FONT).
QString G_COBRAZ_PUT(std::optional<QString> folder = std::nullopt);
bool G_LMATRICNI(std::optional<bool> on = std::nullopt);
bool G_LPOLA(std::optional<bool> on = std::nullopt);
QString G_CAPLIK_NAZIV(std::optional<QString> name = std::nullopt);

// The palette that row 1 brings back: captured at the first confirmed look
// dialog of the run.
std::optional<QPalette> restorePalette();
namespace detail {
void forgetRestorePalette();  // for tests: as at the start of a run
}

}  // namespace korvan
