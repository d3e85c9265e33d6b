#pragma once
// Reading a fiscal receipt's verification page (the journal text, Serbian
// Cyrillic, UTF-8): the buyer's identification, the date, the receipt number,
// the tax sums of the labels А, Г, Ђ and Е, and the items between two marks.
// Pure functions on bytes: nothing is shown, nothing is fetched. Lengths and
// positions count bytes. Texts taken over from the page (names, units, the
// two lines after the title) have their HTML character references decoded.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

namespace korvan {

// One item of a receipt.
struct ReceiptItem {
  QString name;
  QString unit;       // the text between the last "/" and the label's "("; may be empty
  double rate = 20;   // VAT percent, from the tax label
  double quantity = 0;
  double price = 0;   // the first number of the amounts line
  double total = 0;   // the last number of the amounts line

  bool operator==(const ReceiptItem&) const = default;
};

// Everything read from one page.
struct ReceiptPage {
  QString buyerId;     // tax number or other id; empty when the page has none
  QString buyerJbkjs;  // public-sector budget user number; empty when none
  QDate date;          // as given on entry (today) unless the time line says otherwise
  double total = 0;    // the sum of the items' totals
  QList<ReceiptItem> items;
  QString line1;       // the first and second line after the title line, trimmed
  QString line2;
  QString number;      // the counter part of the processor's receipt number
  double taxDj = 0;    // tax sums by label: Ђ, Е, Г, А
  double taxE = 0;
  double taxG = 0;
  double taxA = 0;
};

// Reads the page. Lines end at LF, an optional CR before it dropped. Item
// lines start after the first line holding startMark and stop at a line
// holding endMark (an empty mark never matches). today is the date when the
// page holds no time line.
ReceiptPage readReceiptPage(const QByteArray& page, const QByteArray& startMark, const QByteArray& endMark,
                            const QDate& today);

// The steps of the reader, exposed for its tests.

// The date from a time line "... <date> <time>": a dd.mm.yyyy word (a
// trailing "." allowed; an invalid one gives the empty date), else
// dd-MMM-yy or dd-MMM-yyyy with English month abbreviations. A line without
// two blanks, or a word of neither form, leaves date as it was.
void ODREDI_DATPROM(const QByteArray& line, QDate& date);
// The receipt number: the text after the line's first ":", trimmed, and of
// that what follows its last "-". A line without ":" leaves number as it was.
void ODREDI_PFR_BROJ(QString& number, const QByteArray& line);
// Appends the item made of the pending name text and its amounts line to
// items and adds its total to total.
void OBRADI_STAVKU(QList<ReceiptItem>& items, const QByteArray& nameText, const QByteArray& amounts,
                   double& total);
// The number whose text runs through position pos of the line between blanks
// (space, tab, CR, LF); start gets the position of the blank on its left (0
// when none), end that of the blank on its right (the line's length when none).
double UZMI_OKOLO(const QByteArray& line, qsizetype pos, qsizetype& start, qsizetype& end);
// The VAT percent of a tax label: А and Г 0, Ђ 20, Е 10, anything else 20.
double STOPA_POREZ(const QByteArray& label);

}  // namespace korvan
