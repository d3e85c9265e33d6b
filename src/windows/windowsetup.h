#pragma once
// Settings that the invoice windows take the same way when they are built.
#include <QString>

namespace korvan {

class MyQTW;

// The character-width unit of the main window's font (NPOINTSIZE), or of the
// window's own font while it has no main window.
double MAIN_NPOINTSIZE(const MyQTW& w);
// True when the company is registered for VAT: OBVPDV of section Firma in
// the INI file reads "T" (absent: "F").
bool FIRMA_OBVPDV(const QString& iniFile);

}  // namespace korvan
