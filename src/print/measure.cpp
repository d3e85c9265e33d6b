#include "print/measure.h"

#include "common/numbers.h"

namespace korvan::print {

Measure readMeasure(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
      return {MeasureKind::Number, value.toDouble()};
    case QMetaType::QString: {
      const QString t = value.toString();
      const double n = VAL(t);
      if (t.contains(QLatin1Char('%'))) return {MeasureKind::Percent, n};
      if (t.contains(QLatin1String("mm"))) return {MeasureKind::Millimetres, n};
      return {MeasureKind::Text, n};
    }
    default:
      return {MeasureKind::Ignored, 0};
  }
}

double measureExtent(const Measure& m, double extent) {
  switch (m.kind) {
    case MeasureKind::Percent:
      return extent * m.n / 100;
    case MeasureKind::Millimetres:
      return MM2PT(m.n);
    case MeasureKind::Number:
    case MeasureKind::Text:
      return m.n;
    default:
      return 0;
  }
}

}  // namespace korvan::print
