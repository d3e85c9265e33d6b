#pragma once
// What kind of value a QVariant holds, as the tables and dialogs read it.
#include <QString>
#include <QVariant>

namespace korvan {

inline bool IS_NUMBER(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long:
    case QMetaType::ULong:
      return true;
    default:
      return false;
  }
}

inline bool IS_LIST(const QVariant& v) {
  return v.typeId() == QMetaType::QVariantList || v.typeId() == QMetaType::QStringList;
}

inline bool IS_TEXT(const QVariant& v) {
  return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

// A text value as QString; byte strings are UTF-8.
inline QString TEXT_OF(const QVariant& v) {
  return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
}

}  // namespace korvan
