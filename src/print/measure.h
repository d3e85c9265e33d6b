#pragma once
// Measure values of the page painter and the table builder. A value is a
// number (device units), or a text that is "N%" (of a page extent), "Nmm"
// (N millimetres through MM2PT, used as device units) or any other text read
// by its leading number (VAL). "%" is looked for before "mm". A null QVariant
// is "absent"; any other kind (a date, true/false) is "ignored" and leaves the
// coordinate it was meant for as it was.
#include <QVariant>

namespace korvan::print {

enum class MeasureKind { Absent, Number, Percent, Millimetres, Text, Ignored };

struct Measure {
  MeasureKind kind = MeasureKind::Absent;
  double n = 0;  // the number, or the text's leading number
};

Measure readMeasure(const QVariant& value);

// A width or offset: "%" of extent, "mm" through MM2PT, a number or another
// text as it stands; absent and ignored give 0.
double measureExtent(const Measure& m, double extent);

}  // namespace korvan::print
