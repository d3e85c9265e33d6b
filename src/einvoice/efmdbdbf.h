#pragma once
// The local e-invoice store: tables INVOICE (one row per known e-invoice) and
// FALS (ids whose document the system did not deliver) below the program
// folder. The first argument of most operations is a server object that is
// ignored (every caller passes none); so is the company tax number.
//
// Operations that find the store closed open it and close it again before
// they return; when a caller holds it open around a batch
// (EFMDB_OTVORI_BAZE .. EFMDB_ZATVORI_BAZE) they use it and leave it open.
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace korvan {

class MyERACUN;

// Direction codes.
inline constexpr char EFM_IZLAZNI[] = "I";  // outgoing (sales)
inline constexpr char EFM_ULAZNI[] = "U";   // incoming (purchase)

// The e-invoice header read from a document: ZAG_BROJ values in this order.
enum EfmZaglavljePolje {
  ZAG_ID = 0,    // e-invoice id (number)
  ZAG_DATPROM,   // date of supply (date, empty when missing)
  ZAG_BRDOK,     // invoice number
  ZAG_DATIZD,    // issue date
  ZAG_TIPDOK,    // document type text
  ZAG_IZNOS,     // amount payable (number)
  ZAG_KOMITENT,  // partner's registration name
  ZAG_DATDOSP,   // due date
  ZAG_XML,       // whole document answer
  ZAG_STATUS,    // status text, translated; absent (null) when it could not
                 // be learnt, and then the stored status stays
  ZAG_BROJ
};
using EfmZaglavlje = QVariantList;

// The change list of a download: {id, mark}, each id at most once, its first
// mark kept.
enum EfmPromena { EFM_DODAT = 1, EFM_IZMENJEN = 2 };
using EfmPromene = QList<QPair<qint64, int>>;

// One row of EFMDB_PUNI_TABELA: LR_BROJ values in this order.
enum EfmRedListe {
  LR_RECNO = 0,  // physical record number
  LR_ID,         // id (number)
  LR_BRDOK,      // texts trimmed on both sides
  LR_TIPDOK,
  LR_STATUS,
  LR_KOMITENT,
  LR_IZNOS,
  LR_DATIZD,
  LR_DATPROM,
  LR_DATDOSP,
  LR_FIRMA,       // always empty
  LR_ODOBRENO,    // as stored
  LR_NACINODOBR,  // trimmed
  LR_BROJ
};

// A listed row as a grid keeps it: its record number and the direction and
// id it showed. Operations that change a row check that the record still
// carries that direction and id (another copy may have changed the table).
struct EfmdbSlog {
  quint32 recno = 0;
  QString ui;
  qint64 id = 0;
};

struct EfmOdobrenje {
  QString flag;  // ODOBRENO as stored ("Da", "Ne" or blank)
  QString way;   // NACINODOBR trimmed
};

// The id as stored in INV_ID: right-aligned in 20 characters.
QString EFMDB_ID20(qint64 id);

// Opens both tables shared; true when both are open (also when they were
// open already). A failure leaves nothing open, after OTVORI's message.
bool EFMDB_OTVORI_BAZE();
// Closes FALS, then INVOICE: pending changes are written, locks released.
void EFMDB_ZATVORI_BAZE();

// The rows of one direction, highest id first. progress (when given) is told
// the number of the row about to be read; false from it stops the listing
// with the rows read so far. Empty when the store cannot be opened.
// EFMDB_PUNI_TABELA (einvoice/ui/efmdblist.h) lists them with a progress box.
QList<QVariantList> efmdbRows(const QString& ui, const std::function<bool(int row)>& progress = {});

// Reads the record: its id, document text, issue date and partner (right-
// trimmed); any out-pointer may be null. False, with the out-values
// untouched, when the store cannot be opened or there is no such record.
bool EFMDB_UZMI_IZ_BAZE(const QVariant& server, quint32 recno, qint64* id, QString* xml, QDate* issued,
                        QString* partner);
// The same for a listed row: false, after a message, when the record no
// longer carries the row's direction and id (so that an action meant for one
// invoice never takes another's id or document).
bool EFMDB_UZMI_IZ_BAZE(const QVariant& server, const EfmdbSlog& row, qint64* id, QString* xml, QDate* issued,
                        QString* partner);

// Records a sent invoice from its good status answer (JSON with InvoiceId and
// Status): a new outgoing row, or the existing one overwritten (TIPDOK and the
// user's fields kept; a status of "Unknown" keeps the one stored); XML
// becomes the document file's whole text.
void EFMDB_OK_ODGOVOR_U_BAZU(const QVariant& server, const QString& xmlPath,
                             const QString& answer, const MyERACUN& record);

// True when INVOICE holds the id for the direction.
bool EFMDB_POSTOJI_INVOICE(const QVariant& server, const QString& ui, qint64 id, const QString& pib = {});

// Adds or updates the row of a downloaded header: each field that differs
// from the stored value (as the field would store it) is written; the change
// list gets {id, EFM_DODAT} for a new row, {id, EFM_IZMENJEN} for a changed
// one. The row stays locked until the store is closed or another row is
// locked or appended. false, after a message, when nothing could be written.
bool EFMDB_DODAJ_IZMENI(const QVariant& server, const QString& ui, const EfmZaglavlje& header,
                        EfmPromene& changes, const QString& pib = {});

// Marks the row deleted (later seeks and listings skip it). False when it
// cannot be locked or is no longer that row, after a message.
bool EFMDB_BRISI(const QVariant& server, const EfmdbSlog& row);

// Without a flag: the stored approval. With one: writes flag and way and
// answers nothing (also when the store cannot be opened or the row not
// locked, after a message).
std::optional<EfmOdobrenje> EFMDB_SG_ODOBRENO(const QVariant& server, const EfmdbSlog& row,
                                              const std::optional<QString>& flag = std::nullopt,
                                              const QString& way = {});
// Without a reason: the stored reject reason, trimmed. With one: writes it.
std::optional<QString> EFMDB_SG_RAZLOG_ODBIJANJA(const QVariant& server, const EfmdbSlog& row,
                                                 const std::optional<QString>& reason = std::nullopt);

// True when FALS holds the id for the direction.
bool EFMDB_JESTE_FALS(const QVariant& server, const QString& ui, qint64 id);
// Adds the id to FALS unless it is there.
void EFMDB_PISI_FALS(const QVariant& server, const QString& ui, qint64 id);

}  // namespace korvan
