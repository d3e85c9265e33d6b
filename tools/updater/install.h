#pragma once
// What the updater does with its two paths: waits (at most 10 s) until no
// process runs the old program, checks the new file against its line in the
// check file beside it ("<name>.sfv"), gives it the old program's permissions
// with the run bits set, and renames it over the old program (through a
// temporary file beside the old program when the two lie on different file
// systems). The old program is never touched until the new file is complete
// beside it. Returns an empty text on success, else the reason.
#include <QString>

namespace korvan::updater {

QString install(const QString& newPath, const QString& runningPath);

}  // namespace korvan::updater
