#pragma once
// Number pictures: one set of rules for every table, printout and summary.
//
// A picture is an optional function part ("@" and function letters, ended by a
// blank) and a template of "9" (digit), "." (decimal point) and "," (thousands
// separator); other template characters are copied as they are. Functions:
// "E" exchanges "." and "," in the result, "Z" shows a zero value as blanks.
#include <QString>

namespace korvan {

// The value rounded (half away from zero) to the template's decimals and
// written right-aligned in the template's width. A value whose integer part
// (with its sign) does not fit shows "*" in every digit position. An empty
// template gives STR(value).
QString TRANSFORM(double value, const QString& picture);

// True when a shown value holds the asterisks of an overflowing picture.
bool PICTURE_OVERFLOW(const QString& shown);
// True when a shown value is a spreadsheet formula's error ("#DIV/0!",
// "#VALUE!", "#NAME?", "#N/A", LibreOffice's "Err:502").
bool FORMULA_ERROR(const QString& shown);

// A column picture: length counts the decimal point; "@EZ " or "@Z " in front;
// thousands puts a "," before every third integer "9" from the right.
// (10, 2, true, true) -> "@EZ 9,999,999.99".
QString FORMIRAJ_PICT(int length, int decimals, bool european, bool thousands = false);

// The number formatted with a picture that has a decimal part, with the
// insignificant decimals blanked and the result right-aligned in the same
// width: 12.5 with "@E 999.99" -> "  12,5"; 0 with "999.99" -> "     0".
QString BEZ_DECIM(double value, const QString& picture);

// A number as short decimal text (at most 15 significant digits, no exponent,
// "." as decimal mark), right-aligned in a field of the given width.
QString STR(double value, int width = 10);

}  // namespace korvan
