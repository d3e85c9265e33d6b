#pragma once
// The e-invoice manager's decisions, without widgets: which direction a
// stored code means, what a listed row shows and in which colour, what the
// ids and changes answers of the e-invoice system hold, and where saved and
// mailed files go. Everything here returns values; the window
// (windows/mykorvanman.h) shows the boxes.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "einvoice/efmdbdbf.h"

namespace korvan::kman {

// "U" stays "U"; any other stored code (empty, "X", "i") is "I", the first
// item of the combo, so that the list shown and the rows written agree.
QString direction(const QString& stored);

// The background of a listed row: the first change mark of its id decides.
enum class Boja { Nema, Zuta, Losos };
Boja boja(qint64 id, const EfmPromene& changes);
// "yellow" and "salmon" as the platform's named colours; empty for none.
QString imeBoje(Boja b);

// The eight fields of the table, in column order.
QStringList polja();
// One store row (EfmRedListe) as the table shows it: the record number (the
// cells' tag), the id, the direction it was listed under, the values in the
// order of polja(), and its colour.
struct Red {
  quint32 recno = 0;
  qint64 id = 0;
  QVariantList vrednosti;
  Boja boja = Boja::Nema;
};
Red red(const QVariantList& storeRow, const EfmPromene& changes);

// An id as the ids answer gives it (a JSON number or text): a whole positive
// number, else 0.
qint64 celiId(const QVariant& value);

// The ids answer: the ids in order, ids that are not whole numbers left out
// (and counted). problem: the message when the answer is not JSON or lacks
// its key ("Greška pri obradi odgovora servera: ...").
struct Ids {
  QList<qint64> ids;
  QStringList skipped;
  QString problem;
};
Ids readIds(const QByteArray& answer, const QString& direction);

// One entry of a period's change list.
struct Promena {
  qint64 id = 0;
  QString pib;
  QString key;
  bool operator==(const Promena&) const = default;
};
// A changes answer read into list (no second entry per id and tax number).
// entryProblems: one message per element without its key. dayProblem: set
// when the day cannot count as read (not JSON, or an answer that is not a
// list, such as an error object of the system).
struct Changes {
  QStringList entryProblems;
  QString dayProblem;
  QStringList skipped;
};
Changes readChanges(const QByteArray& answer, const QString& direction, const QString& pib, const QString& key,
                    QList<Promena>& list);

// A folder setting as a folder path: "\" read as "/", ending in "/"; empty
// stays empty.
QString folder(const QString& setting);
// "IZLAZNI/" or "ULAZNI/" + the issue date as YYYY-MM-DD ("0000-00-00"
// when empty), below base (which ends in "/").
QString dateFolder(const QString& base, const QString& direction, const QDate& issued);
// The partner name as file names carry it: Serbian and Cyrillic letters made
// plain, "/" and "\" made "-", and ":", "?", "*", '"', "<", ">", "|" and
// control characters removed, then trimmed.
QString partner(const QString& stored);

// The three files of one e-invoice in its date folder, in writing order: the
// element whose Base64 content it holds (empty: the whole text), the file
// name without extension, and the extension.
struct Fajl {
  QString element;
  QString name;
  QString extension;
};
QList<Fajl> fajlovi(qint64 id, const QString& storedPartner);

}  // namespace korvan::kman
