#pragma once
// Files and folders: finding an existing file ignoring letter case, free
// output names, whole text files, lines, folders and a few file operations.
// Paths use "/". A path that exists as written (or whose folder does) is used
// exactly, "\" in its names included; otherwise a "\" (names from Windows-made
// INI files) is read as "/".
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QFile;
class QObject;

namespace korvan {

// The path with "\" read as "/" and each part matched to an existing file or
// folder ignoring letter case ("baze/invoice.dbf" finds "BAZE/INVOICE.DBF").
// Parts that exist in no letter case are kept as given.
QString FIND_FILE(const QString& path);

// A free output path (see files.cpp): with "BEZSPACE.!!!" present the file
// name (not the folders above it) gets "_" for blanks and plain letters for
// the Serbian ones; a name held by another program gets a counter 2..99
// before its extension (99 when none is free). With a companion extension the
// companion file (same name, that extension) must be free as well.
QString SLOBODAN_FN(const QString& path, const QString& companionExt = QString());

// The file's text, UTF-8, at most 12 chunks of the chunk size (10,240 at most):
// 122,880 bytes with the default, never cut inside a character. A missing or
// unreadable file gives an empty text after a message. shared is accepted for
// the callers' sake; Linux has no share modes.
QString READ_MEMO(const QString& path, int chunk = 10240, bool shared = false);
QByteArray READ_MEMO_BYTES(const QString& path, int chunk = 10240, bool shared = false);
// The whole file, without a cap. false after a message (the READ_MEMO ones)
// when the file is missing or cannot be read; quiet leaves the message out.
bool READ_FILE(const QString& path, QByteArray* out, bool quiet = false);
// The whole file as UTF-8 text; an empty text after a message on failure.
QString READ_TEXT(const QString& path);

// Creates or replaces the file with the text (UTF-8), atomically. true, or
// false after "GREŠKA <code> KOD PISANJA FAJLA <path>" when any step fails.
bool WRITE_MEMO(const QString& path, const QString& text);
bool WRITE_MEMO_BYTES(const QString& path, const QByteArray& bytes);

// The lines of a text split at the delimiter; trailing blank lines are
// dropped, empty lines between others kept. count (when given) gets their
// number; progress (when given) is called with the line number so far and the
// number of delimiters in the text.
QStringList GET_MEMO(const QString& text, int* count = nullptr,
                     const QString& delimiter = QStringLiteral("\r\n"),
                     const std::function<void(int, int)>& progress = {});
// Every element followed by the delimiter.
QString PUT_MEMO(const QStringList& lines, const QString& delimiter = QStringLiteral("\r\n"));

// Creates the folder when nothing of that name exists; true when it exists afterwards.
bool PRAVI_DIR(const QString& path);
// Creates every missing level of prefix + path, outermost first.
bool PRAVI_DIR_FULL(const QString& path, const QString& prefix = QString());

// True when the file exists, can be opened for reading, and no other open of
// it holds a lock on it (a table opened by another copy of the program).
bool MOZE_EXCLUSIVE(const QString& path);

struct DirEntry {
  QString name;
  qint64 size = 0;
  QDate date;
  QString time;  // "hh:mm:ss"
  QString attributes;  // "D" for a folder, "" otherwise
};
// The entries of the mask's folder whose names match the mask ("*", "?",
// letter case ignored); folders only when attributes holds "D".
QList<DirEntry> DIRECTORY2(const QString& mask, const QString& attributes = QString());

// Reads one line from an open file at its position: up to 600 bytes, the
// text before the delimiter; the position moves past the delimiter.
QByteArray READLN(class QIODevice& file, const QByteArray& delimiter = "\r\n");

// Walks folder (ending in "/"), adding subfolder paths (unless filesOnly)
// and the files that MATCH_FILE accepts, then each subfolder in turn.
void GET_FILES(const QString& folder, QStringList& list, const QStringList& excludeMasks,
               bool filesOnly = false);
// false when the name has no "." or its extension holds one of the masks
// (from the mask's second character, without "?" and "*"), ignoring case.
bool MATCH_FILE(const QString& name, const QStringList& masks);
// Deletes every file with an extension in the folder and below it.
void XDEL(const QString& folder);
// The one copy loop: reads `in` (open for reading) to its end into `out`
// (open for writing) in blocks of blockSize bytes and flushes `out`; after each
// block step(copied) runs. Gives the bytes copied, or -1 when a read, a write
// or the flush fails. Opening, closing and messages are the caller's.
qint64 copyBlocks(QFile& in, QFile& out, qint64 blockSize,
                  const std::function<void(qint64)>& step = {});
// Copies in blocks of 4,096 bytes, letting pending events run, advancing the
// bar (a progress bar, set through its minimum, maximum and value properties)
// and calling progress(copied, size). On failure shows "Greska pri
// kopiranju !", source, target, "Ponovite ..." (unless quiet) and gives false.
bool COPYFILE(const QString& source, const QString& target, QObject* bar = nullptr,
              bool quiet = false, const std::function<void(qint64, qint64)>& progress = {});
// Deletes each listed file that exists.
void BRISI_TMPREZ(const QStringList& paths);
// The system's folder for temporary files, ending in "/".
QString GETTEMPDIR();

}  // namespace korvan
