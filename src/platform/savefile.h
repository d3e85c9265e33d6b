#pragma once
// Replacing a file as a whole: the new content is written beside it, flushed
// to disk (unless asked not to) and renamed over it, so a reader sees the old
// file or the new one, never a torn one.
#include <QByteArray>
#include <QString>

namespace korvan::platform {

// Whether the new content and its rename are forced to disk before the call
// returns. Either way a failed write leaves the old file as it was; without
// the disk sync a power cut soon after may lose the new content.
enum class DiskSync {
  Sync,        // the file and its folder are synced
  NoDiskSync,  // left to the system: for documents that are made again at will
};

// Writes bytes to path. A symbolic link is followed (its target is replaced).
// An existing file keeps its permissions; a new one gets 0666 less the umask.
// On failure the old file is left as it was, the temporary file is removed,
// and errorCode (when given) receives the errno of the failing step.
bool saveFileAtomically(const QString& path, const QByteArray& bytes, int* errorCode = nullptr,
                        DiskSync sync = DiskSync::Sync);

}  // namespace korvan::platform
