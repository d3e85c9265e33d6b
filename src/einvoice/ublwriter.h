#pragma once
// The UBL 2.1 invoice document of an e-invoice record: file name, number
// formats, escaping, unit codes, VAT defaults, and the document text.
#include <QByteArray>
#include <QString>

namespace korvan {

class MyERACUN;

// Text made safe as XML content or attribute value: "&", "<", ">" and '"'
// escaped; tabs and line breaks become blanks; other control characters and
// characters that XML cannot carry are dropped.
QString IZBACI_SMETNJE_XML(const QString& text);

// UN/ECE Rec. 20 code of a local unit ("kom" -> "H87", "KG" -> "KGM", ...);
// reverse: the first local unit of a code, empty when none.
QString ER_PRETVORI_JMERE(const QString& unit, bool reverse = false);

// Number formats of the document ("." decimal point, no grouping).
QString UBL_AMOUNT(double value);    // exactly 2 decimals
QString UBL_QUANTITY(double value);  // up to 3 decimals, trailing zeros removed
QString UBL_PERCENT(double value);   // up to 2 decimals, trailing zeros removed

// The document's path: the PDF path's folder and base name (up to the last
// point of the file name) with ".xml".
QString UBL_XML_NAME(const QString& pdfPath);
// The PDF file name up to its last point.
QString UBL_PDF_BASE(const QString& pdfPath);

// The invoice's VAT category and exemption reason with the defaults applied.
QString UBL_TAX_CAT(const MyERACUN& r);
QString UBL_TAX_EXEM(const MyERACUN& r);

// Why the record cannot give a valid document (a message for the user), or an
// empty text when it can.
QString UBL_PROVERI(const MyERACUN& r);

// The whole document, UTF-8 without BOM, every line ended by CR LF.
QByteArray UBL_DOCUMENT(const MyERACUN& r);

}  // namespace korvan
