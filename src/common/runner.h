#pragma once
// The command runner: external programs (curl above all) are started with an
// argument list and waited for. A call's options that must not show on a
// command line go into a record file (curl reads it with -K).
#include <QString>
#include <QStringList>

#include "platform/process.h"

namespace korvan {

// Runs the program with the arguments and waits for its end (without limit
// unless timeoutMs > 0). The exit code; -1 when the program cannot be started;
// on time-out or a crash a negative code (see platform/process.h).
int WAITRUN(const QString& program, const QStringList& arguments, int timeoutMs = 0);

// Writes the record file (each line followed by CR LF, UTF-8, mode 0600; an
// existing file is truncated and left in place afterwards), then runs the
// program as WAITRUN does. true exactly when the exit code is 0. false at
// once, running nothing, when the record file cannot be written. An empty
// record path writes nothing. result, when given, gets how the program ended
// and its standard output and error (kNotStarted when nothing ran).
bool IZVRSI_BAT(const QString& recordPath, const QStringList& recordLines, const QString& program,
                const QStringList& arguments, int timeoutMs = 0, platform::ProcessResult* result = nullptr);

// Returns when the time has passed (seconds, fractions allowed), measured on
// a monotonic clock; the thread sleeps meanwhile.
void DELAY(double seconds);

}  // namespace korvan
