#pragma once
// The common life of the Python servers of tests/support: started with
// /usr/bin/python3 (the Debian build that sees Debian's modules), up once
// the script has written its port into <folder>/port, ended by closing its
// standard input (killed when it does not end within 3 s).
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace korvan::test {

// Starts the script with the arguments and waits (at most 15 s) for its port.
// The port, or 0 with error set.
int startPythonServer(std::unique_ptr<QProcess>& proc, const QStringList& arguments, const QString& folder,
                      QString* error);
void stopPythonServer(std::unique_ptr<QProcess>& proc);

}  // namespace korvan::test
