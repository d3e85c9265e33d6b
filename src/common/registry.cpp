#include "common/registry.h"

#include <QList>
#include <QMutex>

namespace korvan {
namespace {

struct Entry {
  QString key;
  QList<QVariant> values;  // the last one is in force; the others are hidden by pushes
};

QMutex& lock() {
  static QMutex m;
  return m;
}

QList<Entry>& entries() {
  static QList<Entry> e;
  return e;
}

Entry* find(const QString& key) {
  const QString k = key.trimmed();
  for (Entry& e : entries())
    if (e.key == k) return &e;
  return nullptr;
}

Entry& findOrAdd(const QString& key) {
  if (Entry* e = find(key)) return *e;
  entries().append({key.trimmed(), {QVariant(QString())}});
  return entries().back();
}

QVariant joined(const QVariant& old, const QVariant& added) {
  if (old.typeId() == QMetaType::QVariantList) {
    QVariantList l = old.toList();
    if (added.typeId() == QMetaType::QVariantList) l += added.toList();
    else l.append(added);
    return l;
  }
  if (old.typeId() == QMetaType::QStringList && added.canConvert<QStringList>())
    return old.toStringList() + added.toStringList();
  return old.toString() + added.toString();
}

}  // namespace

QVariant MGLOBAL(const QString& key) {
  QMutexLocker l(&lock());
  const Entry* e = find(key);
  return e ? e->values.back() : QVariant(QString());
}

QVariant MGLOBAL(const QString& key, const QVariant& value, bool append) {
  QMutexLocker l(&lock());
  if (Entry* e = find(key)) {
    const QVariant old = e->values.back();
    e->values.back() = append ? joined(old, value) : value;
    return old;
  }
  entries().append({key.trimmed(), {value}});
  return QVariant(QString());
}

void MGLOBAL_PUSH(const QString& key, const QVariant& value) {
  QMutexLocker l(&lock());
  findOrAdd(key).values.append(value);
}

void MGLOBAL_POP(const QString& key) {
  QMutexLocker l(&lock());
  Entry* e = find(key);
  if (e && e->values.size() > 1) e->values.removeLast();
}

MGlobalScope::MGlobalScope(const QString& key, const QVariant& value) : key_(key) {
  MGLOBAL_PUSH(key_, value);
}

MGlobalScope::~MGlobalScope() { MGLOBAL_POP(key_); }

}  // namespace korvan
