#pragma once
// Replacing a file as a whole: the new content is written beside it, flushed
// to disk and renamed over it, so a reader sees the old file or the new one,
// never a torn one.
#include <QByteArray>
#include <QString>

namespace korvan::platform {

// Writes bytes to path. A symbolic link is followed (its target is replaced).
// An existing file keeps its permissions; a new one gets 0666 less the umask.
// On failure the old file is left as it was, the temporary file is removed,
// and errorCode (when given) receives the errno of the failing step.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, int* errorCode = nullptr);

}  // namespace korvan::platform
