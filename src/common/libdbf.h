#pragma once
// Opening the local tables: creation from a structure list, migration to a
// changed structure, index tags, opening under an alias with retries; the
// retried record lock and append; record helpers.
//
// Paths name a table without extension ("<program folder>BAZE/INVOICE");
// "\" is read as "/" and existing files are found ignoring letter case.
#include "common/dbf/dbfformat.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

namespace korvan {

// One entry of an index list: the tag is named after the file part of path
// (what follows the last "\" or "/"); every tag is built in the table's own
// compound index file.
struct IndexDef {
  QString path;
  QString key;
};
using IndexList = QList<IndexDef>;

// Opens the table under alias with the first tag as controlling order:
// creates it when missing, migrates it when its stored structure differs from
// the list (an empty list: no creation and no comparison), builds the tags
// when the index file is missing, then opens it shared or exclusive. confirm
// (when given) is asked before a migration; false keeps the old table. On
// failure false after a message, or with silent the text in *errorText.
bool OTVORI(const QString& path, bool exclusive, const QString& title, const QString& alias,
            const IndexList& indexes, const dbf::Structure& structure,
            const std::function<bool()>& confirm = {}, bool silent = false, QString* errorText = nullptr);

// Opens the table in a new work area under alias, trying up to tries times
// and waiting 1 second after each failed try. driver: empty or "CDX" (the
// one table driver, DBFCDX).
bool NET_USE2(const QString& path, bool exclusive, int tries, const QString& alias, bool readOnly,
              const QString& driver = QString());
// True when the table file can be opened exclusively (nobody has it open).
bool DBF_MOZE_EXCLUSIVE(const QString& path);
// True when some listed field has a stored field of exactly that name with another type.
bool PROVERI_TIPOVE(const dbf::Structure& list, const dbf::Structure& stored);
// Copies every visible record of the table at path (the open work area alias,
// or opened under it for the copy) into the open table TMP field by field of
// the same name, converting between types; see libdbf_convert.cpp.
void APENDUJ_RAZL_TIP(const QString& path, bool exclusive, const QString& alias, const dbf::Structure& list,
                      const dbf::Structure& stored);

// Locks the current record of the current table (releasing its other record
// locks), retrying every half second; false when the seconds ran out.
bool REC_LOCK(double seconds);
// Appends a blank record to the current table (current and locked),
// retrying every half second; false when the seconds ran out. Each try is
// immediate, so the seconds are the whole wait.
bool ADD_REC(double seconds);
// ADD_REC for a keyed record, so that two copies adding one key at once add
// one record: each try holds the append lock while present() looks the key
// up and, when it is absent, while the blank record is appended, putKey()
// fills it and the record is written. Present leaves the pointer where
// present() left it; Failed when the seconds ran out.
enum class KeyedAppend { Added, Present, Failed };
KeyedAppend addRecordOnce(double seconds, const std::function<bool()>& present, const std::function<void()>& putKey);

// Record helpers.
// Creates and opens exclusively the first free "TMP/TEMP000" .. "TMP/TEMP999"
// below the program folder; the previous work area stays current. The table
// path, or an empty text when it could not be opened (after a message).
QString CREATE_TMP(const dbf::Structure& structure, const QString& alias = QStringLiteral("TMP"));
// Closes alias and, unless "TEST.!!!" exists or keep is true, deletes the
// table's files.
void CLOSE_TMP(const QString& path, const QString& alias = QStringLiteral("TMP"), bool keep = false);
// Builds the tag named after the file part of indexFile on alias's table (which
// must be open exclusively); the previous work area stays current.
void CREATE_NTX(const QString& key, const QString& indexFile, const QString& alias = QStringLiteral("TMP"));
// The current record's values in field order / written back by position.
QVariantList SCATTER();
void GATHER(const QVariantList& values);
// Copies into the target's current record the source's fields that the target
// has by name; false.
bool IZ_U(const QString& sourceAlias, const QString& targetAlias);
// Sets the controlling order of the current table; the previous order's number.
int ORDSETFOC2(int order);
// Deletes the current record and moves to the next (else the previous) record
// that meets the condition. When there is none: top, or a seek of key when
// given, and true; otherwise false.
bool DELETE_SKIP(const std::function<bool()>& condition = {}, const QVariant& key = QVariant());
// Moves up to n records (back for negative n) while the condition holds and no
// end is reached; the number of records moved.
int SKOCI(int n, const std::function<bool()>& condition);

// For tests: the wait between retries (DELAY when empty), and a hook called
// at each step of a migration with the step's name ("temp", "staged",
// "memo-file", "index-aside", "table", "index", "swapped"); a hook that
// answers false makes that step fail as if its rename had failed.
void setLibdbfDelay(std::function<void(double)> delay);
void setMigrationHook(std::function<bool(const QString& step)> hook);

}  // namespace korvan
