#pragma once
// The receipt exchange folder on the maker's FTP server (common/ftpnalog.h):
// "qumir/<PIB>/" below the login folder holds the ".web" files that the
// scanning companion leaves there, each holding one receipt link. One
// connection per operation through platform/ftp.h; failures are shown with
// MSG. The tax number must be digits and a file name a plain name; anything
// else is refused with "Nije dobar URL :" before a command goes out. The
// password never shows: messages name the folder by user and host only.
#include <QMap>
#include <QString>

#include "platform/ftp.h"

namespace korvan {

// The folder's entries, keyed by file name.
using QumEntries = QMap<QString, platform::FtpEntry>;

// Lists the company's folder (2,000 ms waits). folder := "qumir", entries :=
// the listing. true when the listing was made, also with no entries when the
// company has no folder yet; false after "Nije moguće otvoriti URI " + the
// folder's address when the server cannot be reached or refuses the login.
bool QUM2KOR_VRATI_FAJLOVE(const QString& pib, QString& folder, QumEntries& entries);
// The text of the file name in folder/pib (6,000 ms waits), downloaded into
// TMP/preuzeto.web. Empty, silently, when the name is no longer there; empty
// after a message when it cannot be fetched (then TMP/preuzeto.web is gone,
// so no earlier download stands in for this one).
QString QUM2KOR_PREUZMI_DATA(const QString& name, const QString& folder, const QString& pib);
// Deletes name in folder/pib (6,000 ms waits); true when the server deleted it,
// false after "Greška pri brisanju fajla! " + name when it refused.
bool QUM2KOR_BRISI_FTP_FAJL(const QString& name, const QString& folder, const QString& pib);

// The folder's address for messages: FTP_ADRESA(folder + "/" + pib).
QString QUM2KOR_ADRESA(const QString& folder, const QString& pib);

}  // namespace korvan
