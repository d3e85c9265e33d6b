#pragma once
// The work areas of the process: every open table under its alias (aliases
// ignore letter case), one of them current.
#include "common/dbf/table.h"

#include <QStringList>

namespace korvan::dbf {

// Opens the table in a new work area under alias and makes it current.
// False, with the network-error flag set, when another open holds the table
// in a conflicting way; throws DbfError otherwise (also when alias is in use).
bool useArea(const QString& path, const QString& alias, bool exclusive, bool readOnly = false);
// The table open under alias, or nullptr.
Table* area(const QString& alias);
// The current work area's table; throws DbfError when none is current.
Table& current();
bool hasCurrent();
QString currentAlias();
// Makes alias current; false when it is not open.
bool selectArea(const QString& alias);
bool isUsed(const QString& alias);
// Closes one work area (pending changes are written, locks released).
void closeArea(const QString& alias);
void closeCurrentArea();
// Closes every work area; errors of single tables are collected and the
// first is thrown after all have been closed.
void closeAllAreas();
QStringList openAliases();

}  // namespace korvan::dbf
