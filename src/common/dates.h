#pragma once
// Date conventions: text form "dd.mm.yyyy", the empty date (a null QDate), the
// two-digit-year epoch, and the exchange form "YYYY-MM-DD".
#include <QDate>
#include <QString>
#include <functional>

namespace korvan {

// Today's date from the clock in force (the system clock unless a test set one).
QDate TODAY();
// Installs a clock for today's date; an empty function puts the system clock back.
void SET_TODAY_CLOCK(std::function<QDate()> clock);

// First year of the hundred years in which a two-digit year is read. Until
// SET_EPOCH fixes it, it is the current year minus 90.
int EPOCH();
// Fixes the epoch year; 0 makes it follow the clock again.
void SET_EPOCH(int year);

// "dd.mm.yyyy"; the empty date shows as "  .  .    ".
QString DTOC(const QDate& date);
// A date text "d.m.yyyy" or "d.m.yy" (any single non-digit between the parts,
// anything after a blank ignored); the empty date when it is not a valid date.
QDate CTOD(const QString& text);
// "dd.mm.yy".
QString DTOC_(const QDate& date);

// "YYYY-MM-DD"; the empty date gives "0000-00-00".
QString DTOCMYS(const QDate& date);
// The date from the first ten characters "YYYY-MM-DD"; else the empty date.
QDate MYSTOD(const QString& text);
// The date from eight digits "YYYYMMDD"; else the empty date.
QDate STOD(const QString& text);

// First and last day of the date's month (the empty date gives the empty date).
QDate BOM(const QDate& date);
QDate EOM(const QDate& date);
// 1 January and 31 December of the date's year.
QDate BOY(const QDate& date = TODAY());
QDate EOY(const QDate& date = TODAY());
// 1 January and 31 December of a date's year or of a year given as text.
QDate DFDOY(const QDate& date);
QDate DFDOY(const QString& year);
QDate DLDOY(const QDate& date);
QDate DLDOY(const QString& year);

}  // namespace korvan
