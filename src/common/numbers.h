#pragma once
// Reading numbers from text typed or copied by people, with either "," or "."
// as the decimal mark, and a few small number helpers. The pictures that
// format numbers for display are in common/picture.h (included here).
#include <QString>
#include <QVariant>

#include "common/money.h"
#include "common/picture.h"

namespace korvan {

// The leading number of a text: optional blanks, an optional sign, digits and
// at most one "."; reading stops at the first other character. No digits: 0.
// A number too large for a double reads as an infinity (never as 0), which
// the table engine refuses to store and the pictures show as asterisks.
double VAL(const QString& text);
// VAL after removing every "." and turning every "," into ".".
double E2VAL(const QString& text);
// VAL after removing every ",".
double XVAL(const QString& text);

// The number in a text, guessing the decimal mark: "12,5" -> 12.5,
// "1.234,56" -> 1234.56, "1,234.56" -> 1234.56, "1.234.567" -> 1.234.
double INTELI_VAL(const QString& text, bool pointsSeparateThousands = false);

// True when a and b differ by less than 0.0001.
bool EQ(double a, double b);

// low <= value <= high, for anything ordered (numbers, dates, texts).
template <typename T, typename L, typename H>
bool BETWEEN(const T& value, const L& low, const H& high) {
  return !(value < low) && !(high < value);
}

// A spreadsheet cell value converted to the wanted type "C" (text), "N"
// (number) or "D" (date). Empty values (absent, blank text, 0, false, the
// empty date) give the type's empty value; other combinations give an absent
// value. noDecimals writes a number as a whole number with all its digits.
QVariant XLS_VAL(const QVariant& value, const QString& type, bool noDecimals = false);

// Millimetres to typographic points (x 2.8346), and that divided by 0.75.
double MM2PT(double millimetres);
double MM2PTX(double millimetres);

}  // namespace korvan
