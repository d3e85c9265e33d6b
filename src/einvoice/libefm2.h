#pragma once
// Reading e-invoice documents: one document fetched and its header read,
// elements found by name, and files taken out of a stored document.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "einvoice/account.h"
#include "einvoice/xmlliteral.h"

namespace korvan {

// The text of the document type code: "380" "Račun", "381" "Odobrenje",
// "383" "Zaduženje", "386" "Avans", anything else empty.
QString ODREDI_TIP(const QString& typeCode);

// The value of an element: in attribute mode that attribute (empty when the
// element lacks it), otherwise its text as written.
QString UZMI_STA(bool attributeMode, const XmlElement& element, const QString& attribute = QString());

// Finds by one name, a path {parent, child}, or {a, b, c}. A missing first
// name shows "Ne postoji '<name>' tag!" unless quiet. The result: absent (a
// null QVariant), the value (QString; with first the first found, otherwise
// the last), or with all every value (QStringList).
QVariant XML_UZMI(const QStringList& path, const XmlLiteralDoc& doc, bool quiet = false, bool first = false,
                  bool all = false, const QString& attribute = QString());
// The three-name form of XML_UZMI.
QVariant RADI_TAG3(const QStringList& path, const XmlLiteralDoc& doc, bool quiet = false, bool first = false,
                   bool all = false, const QString& attribute = QString());

// Fetches the document of the invoice and reads its header (10 values, see
// the local store). false after a message; missing is set when the system
// has no document for the id. The status (value 10) is null when the status
// call failed.
bool EFM_OBRADI_INVOICE(const QString& direction, qint64 id, QVariantList& header, const EfmAccount& account,
                        bool& missing);

// Writes a file out of a document text: the whole text (no element name) or
// the Base64 content of the first element of that name, to folder + fileName
// + "." + extension, then opens it unless silent. fileName must be one plain
// file name (no folders, "..", or control characters). A missing or empty
// element writes and opens nothing (true; a message unless silent); content
// for a "pdf" that does not begin with "%PDF" is not opened (false, message).
bool EFM_SNIMI_OTVORI_FAJL_IZ_XML(const QString& element, const QString& document, const QString& fileName,
                                  const QString& folder, const QString& extension, bool silent = false);

// A received file name made safe to write: folders stripped; empty when what
// is left is empty, "." or "..", holds control characters, or is a reserved
// device name.
QString EFM_SIGURNO_IME(const QString& received);
// Writes the attachments of a document (cbc:EmbeddedDocumentBinaryObject,
// named by their filename attribute made safe, else "prilog<N>") into
// TMP/PRILOZI below the program folder; the paths written.
QStringList EFM_SNIMI_PRILOGE(const QString& document);

}  // namespace korvan
