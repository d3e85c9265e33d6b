#pragma once
// Pieces shared by the libdbf*.cpp files (not for other callers).
#include "common/dbf/dbfformat.h"
#include "common/libdbf.h"

#include <QString>

namespace korvan::libdbf {

// The table path with "/" separators, no ".dbf", and its folder found
// ignoring letter case.
QString tableBase(const QString& path);
// Removes the file in every letter case it exists in.
void removeAnyCase(const QString& path);
// The wait between retries (DELAY unless a test installed another).
void wait(double seconds);
// The test hook of the migration steps; false when the step must fail.
bool step(const QString& name);
// Whether the stored structure differs from the list (count, or at some
// position name, type, length or decimals; the listed name may go on past
// the stored one).
bool mustMigrate(const dbf::Structure& list, const dbf::Structure& stored);
// Index list entries as (tag name, key expression).
QList<QPair<QString, QString>> tagList(const IndexList& indexes);

enum class Migration { Done, NotNeeded, Failed };
// Copies the table into the new structure and swaps the new files in (see
// libdbf_migrate.cpp). The table must be closed; alias is free again on
// return. On failure *why holds the message.
Migration migrate(const QString& base, const QString& shownPath, const QString& alias,
                  const dbf::Structure& list, const IndexList& indexes, QString* why);
// Removes what a migration killed half-way left beside the table. The caller
// holds the table exclusively.
void removeLeftovers(const QString& base);

}  // namespace korvan::libdbf
