#include "print/measure.h"

#include "common/numbers.h"

namespace korvan::print {

double leadingNumber(const QString& text) {
  int i = 0;
  while (i < text.size() && text[i].isSpace()) ++i;
  const int start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    if (text[i].isDigit()) {
      digits = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  return text.mid(start, i - start).toDouble();
}

Measure readMeasure(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
      return {MeasureKind::Number, value.toDouble()};
    case QMetaType::QString: {
      const QString t = value.toString();
      const double n = leadingNumber(t);
      if (t.contains('%')) return {MeasureKind::Percent, n};
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
