#pragma once
// Shared by the store's operations: the store held open for one operation,
// finding and locking a row, and text as a field stores it.
#include "common/dbf/table.h"

#include <QString>

namespace korvan::efmdb {

inline const QString kInvoice = QStringLiteral("INVOICE");
inline const QString kFals = QStringLiteral("FALS");

// Holds the store open for one operation: opens it unless both tables are
// open already, and then closes it again at close() or, on an exception, in the
// destructor. The work area that was current before is made current again.
class Otvorena {
 public:
  Otvorena();
  ~Otvorena();
  Otvorena(const Otvorena&) = delete;
  Otvorena& operator=(const Otvorena&) = delete;
  bool ok() const { return ok_; }
  // INVOICE (or FALS) made current, for REC_LOCK and ADD_REC.
  dbf::Table& invoice();
  dbf::Table& fals();
  void close();

 private:
  bool ok_ = false;
  bool opened_ = false;
  QString previous_;
};

// Direction + id, the key of both tables.
QString key(const QString& ui, qint64 id);

// Seeks the key and, when found, locks the row (4 seconds); a row that
// another copy deleted meanwhile counts as not found.
enum class Nadjen { Ne, Zakljucan, NijeZakljucan };
Nadjen seekAndLock(dbf::Table& t, const QString& ui, qint64 id);

// Appends a row with the key set, unless another copy has appended that key
// meanwhile (looked up again under the append lock; Present leaves the
// pointer on its row, unlocked). Failed after "Ne može se dodati slog !".
enum class Dodat { Da, Postoji, Ne };
Dodat appendRow(dbf::Table& t, const QString& ui, qint64 id);

// The row of the key, locked, or a new one appended; false after the lock or
// append message. `added` tells which.
bool lockOrAppend(dbf::Table& t, const QString& ui, qint64 id, bool* added = nullptr);

// The text as the field of that width stores it (cut at a character
// boundary), with trailing white space removed (common/texthelp.h).
QString stored(const QString& text, int width);
QString alltrim(const QString& s);

// Goes to the row's record and checks that it still is that row (not
// deleted, same direction and id); false after a message otherwise.
bool naSlogu(dbf::Table& t, quint32 recno, const QString& ui, qint64 id);
// The id stored in INV_ID (0 when it is no number).
qint64 storedId(dbf::Table& t);
// The same with INV_ID's field position, for loops over many rows.
qint64 storedId(dbf::Table& t, int idPos);
// Tells that the amount of the e-invoice does not fit into IZNOS.
void amountDoesNotFit(double amount, qint64 id);

}  // namespace korvan::efmdb
