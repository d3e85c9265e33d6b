#pragma once
// The program folder and the names below it. Paths use "/"; the program
// folder always ends in "/".
#include <QString>

namespace korvan {

// The program folder: the folder of the path by which the executable was
// started (not the target of a link), absolute, ending in "/".
QString GETAPPPATH();
// Sets the program folder (a trailing "/" is added when missing). Used by
// start-up and by tests.
void SET_APPPATH(const QString& folder);
// Sets the program folder from argv[0]: its folder as given, made absolute
// against the current folder; a bare name is looked up in PATH like a shell
// does, and failing that the current folder is taken.
// Also keeps the file name of argv0 for GETEXENAME.
void SET_APPPATH_FROM_ARGV0(const QString& argv0);
// The file name by which the executable was started (the link's name, not its
// target's); the test program's own name until SET_APPPATH_FROM_ARGV0 or
// SET_EXENAME sets it.
QString GETEXENAME();
void SET_EXENAME(const QString& name);

// GETAPPPATH() followed by a file name (any file in the program folder).
QString FN_INI(const QString& name);

// True while "TEST.!!!" exists in the program folder (tested at each call).
bool ISTEST();
// True while "BEZSPACE.!!!" exists in the program folder (tested at each call).
bool ISBEZSPACE();

// The user name that names the per-user INI file: USERDOMAIN, else USERNAME,
// else USER, else LOGNAME (the first that is not blank, trimmed), else
// "KORISNIK". "/" and "\" are replaced by "_" so that the name stays one file name.
QString G_USER();

}  // namespace korvan
