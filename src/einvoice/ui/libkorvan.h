#pragma once
// The document builder's facade for the invoice windows: their header values
// and line table read into an InvoiceInput (einvoice/invoiceinput.h), built,
// and the refusal or the notice shown.
#include <QDate>
#include <QFont>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

#include "einvoice/attachment.h"
#include "einvoice/myeracun.h"
#include "ui/kolona.h"

class QTableWidget;

namespace korvan {

// Builds the record, writes its document and shows the notice unless quiet.
// No record (after a message) when the document cannot be built or written.
// A pdfPath that names no file means no PDF: the document is then named after
// the path, without the NO_PDF_MARKER ending the windows give it. The record
// keeps pdfPath as given.
std::unique_ptr<MyERACUN> FUNC_NAPRAVI_XML(
    const QString& brdok, const QDate& datumIzdavanja, const QDate& valutaPlacanja,
    const QString& operater, const QDate& datumPrometa, const QString& otpremnica,
    const QString& ugovor, const QString& narudzbenica, const QString& komitNaziv,
    const QString& komitMesto, const QString& komitAdresa, const QString& komitPib,
    const QString& komitMatbroj, const QString& komitPostBroj, const QString& komitEmail,
    const QString& komitJbkjs, const QString& iniFile, const QString& pdfPath,
    const QTableWidget* table, const QFont& font, const QList<MyKOLONA>& kolone, bool quiet,
    const QString& taxCat, const QString& taxExem,
    const std::optional<AttachList>& attach = std::nullopt);

// The ending an invoice window puts after its source path when there is no
// PDF: "NESTO STO NE POSTOJI".
QString NO_PDF_MARKER();

// The shown text of the cell in the row (from 0) and the column whose
// descriptor has exactly that field name; empty when there is none.
QString IZ_TABELE(const QString& polje, int row, const QTableWidget* table, const QList<MyKOLONA>& kolone);

}  // namespace korvan
