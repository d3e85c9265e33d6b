#pragma once
// Opening a document or folder with the desktop's own handler, or starting a
// program, through the shell layer (platform/shell.h). Nothing goes through a
// command interpreter: a program gets its parameters as an argument list.
#include <QString>

namespace korvan {

// Result codes: above 32 the request was handed over.
constexpr int SHELL_OK = 42;
constexpr int SHELL_FILE_NOT_FOUND = 2;
constexpr int SHELL_PATH_NOT_FOUND = 3;
constexpr int SHELL_NO_ASSOCIATION = 31;

// window: the owner window's handle (0 for none); not used here.
// operation: "open", or a null or empty text for the default action; "explore"
//   opens a folder. Any other operation answers SHELL_NO_ASSOCIATION.
// file: a document, a folder or a program; relative to `folder` when it is
//   relative and found there, else to the current folder; a bare name that is
//   no file is looked up as a program on the PATH.
// parameters: for a program, its argument line, split like a command line
//   ("a b" "c" -> two arguments) but never run through a shell; ignored for
//   documents and folders.
// folder: the program's working folder (null or empty: the current one).
// show: the show command (0 hidden, 1 normal); the desktop decides here.
// A program is an executable file whose contents are a program (a binary or
// a script); every other file is opened as a document.
int SHELLEXECUTE(qintptr window, const QString& operation, const QString& file,
                 const QString& parameters = QString(), const QString& folder = QString(),
                 int show = 0);

}  // namespace korvan
