#include <QDate>
#include <QDateTime>

#include "common/dates.h"
#include "common/numbers.h"

namespace korvan {
namespace {

enum class Kind { None, Text, Number, Date, Other };

Kind kindOf(const QVariant& v) {
  if (!v.isValid()) return Kind::None;
  switch (v.typeId()) {
    case QMetaType::QString: return Kind::Text;
    case QMetaType::QDate: case QMetaType::QDateTime: return Kind::Date;
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Short:
    case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
      return Kind::Number;
    default: return Kind::Other;
  }
}

QDate dateOf(const QVariant& v) {
  return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

bool isEmptyValue(const QVariant& v, Kind k) {
  switch (k) {
    case Kind::None: return true;
    case Kind::Text: return v.toString().trimmed().isEmpty();
    case Kind::Number: return v.toDouble() == 0;
    case Kind::Date: return !dateOf(v).isValid();
    default: return v.typeId() == QMetaType::Bool && !v.toBool();
  }
}

}  // namespace

QVariant XLS_VAL(const QVariant& value, const QString& type, bool noDecimals) {
  const Kind k = kindOf(value);
  const bool text = type == u"C", number = type == u"N", date = type == u"D";
  if (isEmptyValue(value, k)) {
    if (text) return QString();
    if (number) return 0.0;
    if (date) return QDate();
    return {};
  }
  if (text) {
    if (k == Kind::Text) return value.toString().trimmed();
    if (k == Kind::Number) {
      const double v = value.toDouble();
      return noDecimals ? QString::number(ROUND(v, 0), 'f', 0) : QString::number(ROUND(v, 2), 'f', 2);
    }
    if (k == Kind::Date) return DTOC(dateOf(value));
  } else if (number) {
    if (k == Kind::Text) return INTELI_VAL(value.toString());
    if (k == Kind::Number) return value.toDouble();
    if (k == Kind::Date) return 0.0;
  } else if (date) {
    if (k == Kind::Text) return CTOD(value.toString());
    if (k == Kind::Number) return QDate();
    if (k == Kind::Date) return dateOf(value);
  }
  return {};
}

}  // namespace korvan
