#pragma once
// The call stack of the running program as "Called from NAME(LINE)" lines:
// glibc's backtrace, names demangled, source lines from the debug
// information (through addr2line when it is installed; 0 when unknown).
#include <QStringList>
#include <vector>

namespace korvan {

// Return addresses of the current call stack.
std::vector<void*> captureStack();
// One "Called from NAME(LINE)" line per level, from the innermost outward to
// main (levels beyond main are left out). Levels whose name begins with one
// of skipPrefixes, before the first other level, are left out too.
QStringList calledFromLines(const std::vector<void*>& frames, const QStringList& skipPrefixes = {});
// "korvan::dbf::Table::put(int, QVariant const&)" -> "dbf::Table:put".
QString levelName(const QString& demangled);

}  // namespace korvan
