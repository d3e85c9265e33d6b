#pragma once
// A small process-wide registry of named values. Entries are kept in the
// order they were added and are never removed. Keys are compared after
// removing blanks at both ends.
//
// A value published for the time of a nested use (a dialog opened from
// inside another that publishes under the same key) is pushed and popped:
// popping brings back the value that was there before.
#include <QString>
#include <QVariant>

namespace korvan {

// The value stored under the key, or an empty text when there is none.
QVariant MGLOBAL(const QString& key);
// Stores the value (or, with append, joins it to the old one: texts are
// concatenated, lists extended) and returns the value held before the call.
QVariant MGLOBAL(const QString& key, const QVariant& value, bool append = false);

// Publishes a value that hides the current one until the matching pop.
void MGLOBAL_PUSH(const QString& key, const QVariant& value);
// Brings back the value from before the last push of the key (an empty text
// when nothing was stored before). A pop without a push changes nothing.
void MGLOBAL_POP(const QString& key);

// Pushes on construction and pops on destruction.
class MGlobalScope {
 public:
  MGlobalScope(const QString& key, const QVariant& value);
  ~MGlobalScope();
  MGlobalScope(const MGlobalScope&) = delete;
  MGlobalScope& operator=(const MGlobalScope&) = delete;
 private:
  QString key_;
};

}  // namespace korvan
