#pragma once
// The buyer table BAZE/KOMIT and the article table BAZE/ART of the free-entry
// window: opening (shared, through OTVORI, nesting-safe), saving one buyer
// or a list of articles, finding one buyer by PIB, and reading all records
// for the pickers.
//
// The save functions answer what happened to each record; the window shows
// the messages. OTVORI shows its own message when a table cannot be opened.
// Texts are stored as given, cut at the field width (never inside a
// character); lookups pad the text to the field width and find only that key.
#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "common/dbf/dbfformat.h"
#include "common/libdbf.h"

namespace korvan {

struct SlobunKupac {
  QString naziv, pib, mesto, adresa, postBroj, email, matbroj, jbkjs, ugovor;
};

struct SlobunArtikal {
  QString sifra, barkod, naziv, jmere;
  double stopa = 0;
  double cenb = 0;
};

const dbf::Structure& KOMIT_STRUKTURA();
const dbf::Structure& ART_STRUKTURA();

// Opens the table when no work area has its alias (opened := true) and
// answers OTVORI's result; an alias already open: opened := false, true. A
// caller closes the table only when its own call opened it.
bool OTVORI_KOMIT_TABELU(bool& opened);
bool OTVORI_ART_TABELU(bool& opened);
// Closes alias when opened says this caller opened it.
void ZATVORI_AKO(const QString& alias, bool opened);

enum class SlogIshod {
  Upisan,     // locked or appended, written, committed
  Zakljucan,  // lock failed: "Slog je zaključan !"
  NijeDodat,  // append failed: "Ne može se dodati slog !"
};

// The buyer by PIB (found: overwritten with all nine texts; else appended).
// The table must be open (OTVORI_KOMIT_TABELU).
SlogIshod UPISI_KOMIT(const SlobunKupac& k, double lockSeconds = 4);
// One article: found by code, else barcode, else name (each only when not
// empty), overwritten with all six values; else appended. ART must be open.
SlogIshod UPISI_ARTIKAL(const SlobunArtikal& a, double lockSeconds = 4);

// The stored buyer with exactly this PIB, trailing blanks trimmed; nullopt
// when there is none (an empty PIB finds none). KOMIT must be open.
std::optional<SlobunKupac> NADJI_KOMIT(const QString& pib);

// Every visible record in record order, trailing blanks trimmed. progress is
// called before each record with (records read, record count) and answers
// false to stop; the records read so far are then the result.
using SlogProgres = std::function<bool(int read, int count)>;
QList<SlobunKupac> SVI_KOMITENTI(const SlogProgres& progress = {});
QList<SlobunArtikal> SVI_ARTIKLI(const SlogProgres& progress = {});

}  // namespace korvan
