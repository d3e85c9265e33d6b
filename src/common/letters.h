#pragma once
// The Serbian letters with diacritics and the conversions between UTF-8,
// Windows-1250, code page 852, plain letters, the 7-bit national variant
// (YUSCII) and Serbian Cyrillic. These work on byte strings (UTF-8 or
// Windows-1250 bytes); malformed UTF-8 passes through byte for byte.
// Both U+0110 and U+00D0 are read as the capital Đ.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace korvan {

// The global switch: the letter functions give UTF-8 while it is true,
// Windows-1250 otherwise. Returns the value before the call; a passed value
// is stored. Start-up sets it to true.
bool G_ISUTF8(std::optional<bool> value = std::nullopt);

// č ć đ š ž and Č Ć Đ Š Ž in the encoding the switch names.
QByteArray L_C();
QByteArray L_CL();
QByteArray L_D();
QByteArray L_S();
QByteArray L_Z();
QByteArray U_C();
QByteArray U_CL();
QByteArray U_D();
QByteArray U_S();
QByteArray U_Z();
// ǉ ǌ џ Ǉ Ǌ Џ with the switch on; "lj", "nj", "d"+ž, "LJ", "NJ", "D"+Ž off.
QByteArray L_L();
QByteArray L_N();
QByteArray L_X();
QByteArray U_L();
QByteArray U_N();
QByteArray U_X();

// UTF-8 to Windows-1250 (or, with ascii, to plain letters: Đ -> "DJ"; with
// yuscii, which wins over ascii, to the 7-bit national characters).
// Cyrillic letters become Latin ones when cyrillic is true. Unchanged while
// the switch is off.
QByteArray UTF8TOCP1250(const QByteArray& text, bool cyrillic = true, bool ascii = false,
                        bool yuscii = false);
// Windows-1250 letters to UTF-8; then each {from, to} pair replaced in order.
QByteArray CP1250TOUTF8(const QByteArray& text,
                        const QList<QPair<QByteArray, QByteArray>>& pairs = {});
// Serbian Latin to Serbian Cyrillic (UTF-8); "DŽ"/"dž" make one letter,
// "LJ" and "NJ" spelled with two letters stay two.
QByteArray UTF8CYR(const QByteArray& text);
// The ten UTF-8 letters to code page 852 (only while the switch is on).
QByteArray UTF8TOCP852(const QByteArray& text);
// Code page 852 letters to Windows-1250.
QByteArray CP852TO1250(const QByteArray& text);
// The plain-letter fold of Windows-1250 letters; absent stays absent.
std::optional<QByteArray> IZBACI_YU(const std::optional<QByteArray>& text);
// Upper or lower case: ASCII letters and the five pairs of the current encoding.
QByteArray UPPER_1250(const QByteArray& text);
QByteArray LOWER_1250(const QByteArray& text);

// Conveniences on QString: the plain-letter fold (Č, Ć -> C, Đ -> DJ, Š -> S,
// Ž -> Z and so in lower case), Latin to Cyrillic, and Windows-1250 bytes read
// into text.
QString PLAIN_TEXT(const QString& text);
QString CYR_TEXT(const QString& text);
QString CP1250_TEXT(const QByteArray& bytes);

}  // namespace korvan
