#pragma once
// Reading the National Bank register's result page (no widgets, no boxes).
// The page is split into lines; a line holding a label gives the value found
// a fixed number of lines below it. Labels are matched on the raw line; the
// taken values have their character references decoded.
#include <QDate>
#include <QString>

namespace korvan {

// What a page gives; accounts one per line, separated by LF.
struct NbsCompany {
  QString name;
  QString address;
  QString place;
  QString accounts;
  QString registrationNumber;
};

// The page read in one of two modes. Unsorted: the first usable value of
// each kind and every account in page order. Sorted: each account block
// (closed by its opening date) is a record; the accounts come newest first
// (an empty date is the oldest, equal dates keep page order) and the other
// values are the last non-empty ones in that order, so the oldest block that
// has a value gives it. A value holding "COVID19" counts as not found.
// Lines end in CR LF, or in LF when the page holds no CR LF at all.
NbsCompany NBS_CITAJ_STRANU(const QString& page, bool sorted);

// An opening-date text of six words ("Sun Jan 02 00:00:00 CET 2005": month
// word 2, day word 3, year word 6) as a date; the empty date for any other
// form, an unknown month word or a day that does not exist.
QDate NBS_DATUM(const QString& text);

// "&amp;", "&quot;", "&#NNN;" and "&#xHH;" decoded in one pass (a decoded
// "&" never starts another reference); anything else stays as written.
QString NBS_DEKODIRAJ(const QString& text);

}  // namespace korvan
