#pragma once
// Measure values of the page painter and the table builder: a number, or a
// text that is "N%" (of a page extent), "Nmm" (millimetres through MM2PT, used
// as device units) or any other text read by its leading number. "%" is
// looked for before "mm". A null QVariant is "absent"; any other kind (a
// date, true/false) is "ignored".
#include <QString>
#include <QVariant>

namespace korvan::print {

enum class MeasureKind { Absent, Number, Percent, Millimetres, Text, Ignored };

struct Measure {
  MeasureKind kind = MeasureKind::Absent;
  double n = 0;  // the number, or the text's leading number
};

// The text's leading number: leading blanks skipped, read up to the first
// character that cannot belong to a number; 0 when there is none.
double leadingNumber(const QString& text);

Measure readMeasure(const QVariant& value);

// A width or offset from a measure: "%" of extent, "mm" through MM2PT, a
// number or another text as it stands; absent and ignored give 0.
double measureExtent(const Measure& m, double extent);

}  // namespace korvan::print
