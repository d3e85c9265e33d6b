// Measure values: which kind a value is, and the extent it stands for.
#include <QDate>
#include <gtest/gtest.h>

#include "print/measure.h"

namespace korvan::print {
namespace {

TEST(Measure, KindsAndExtents) {
  struct Case {
    const char* name;
    QVariant value;
    MeasureKind kind;
    double extent;  // of a page extent of 550
  };
  const QList<Case> cases = {
      {"absent", QVariant(), MeasureKind::Absent, 0},
      {"int", 20, MeasureKind::Number, 20},
      {"double", 12.5, MeasureKind::Number, 12.5},
      {"long long", QVariant(qlonglong(7)), MeasureKind::Number, 7},
      {"per cent", "40%", MeasureKind::Percent, 220},
      {"per cent before mm", "5mm%", MeasureKind::Percent, 27.5},
      {"millimetres", "5mm", MeasureKind::Millimetres, 14.173},
      {"leading blanks", "  12.5 units", MeasureKind::Text, 12.5},
      {"sign", "-3", MeasureKind::Text, -3},
      {"no number", "abc", MeasureKind::Text, 0},
      {"true/false", QVariant(true), MeasureKind::Ignored, 0},
      {"date", QDate(2022, 12, 14), MeasureKind::Ignored, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Measure m = readMeasure(c.value);
    EXPECT_EQ(m.kind, c.kind);
    EXPECT_NEAR(measureExtent(m, 550), c.extent, 1e-9);
  }
}

}  // namespace
}  // namespace korvan::print
