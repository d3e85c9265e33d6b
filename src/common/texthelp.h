#pragma once
// Small text helpers.
#include <QByteArray>
#include <QString>
#include <QVariant>

namespace korvan {

// A text made usable in a file name: "/" becomes "-"; ":", "?", "*" and '"'
// are removed; everything else stays.
QString IZBACI_SMETNJE(const QString& text);

// A text as it is, a date as "dd.mm.yyyy", a number in a field of 10
// characters; anything else gives an empty text.
QString VAR2STR(const QVariant& value);

// The first key after every key that begins with the text: its last byte
// replaced by the next byte value ("I" gives "J"). In the text form the last
// character becomes the next one, which orders the same way in UTF-8.
QByteArray INCSTR2(const QByteArray& key);
QString INCSTR2(const QString& key);

// The text without its trailing white space (blanks, tabs, line ends), as
// table fields and spreadsheet cells are read.
QString rtrim(const QString& text);

// A readable form of a value for debugging: "<nil>", "text" (or 'text'), a
// number, .T./.F., a date, "<niz>" for a list, "<nepoznato>" for anything else.
QString X2STR(const QVariant& value, bool singleQuotes = false);

// A text taken from an HTML page with its character references decoded:
// "&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&nbsp;", "&#NNN;" and
// "&#xHH;". Anything else, and a reference to no valid character, stays as
// written.
QString HTML_DECODE(const QString& text);

}  // namespace korvan
