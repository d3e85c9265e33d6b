#pragma once
// The maker's FTP account, shared by the self-update and the receipt exchange
// folder: built-in values, each replaced by FTP_HOST, FTP_KORISNIK or
// FTP_LOZINKA of section Config of "aplik.ini" when set there. FTP_ADRESA
// names a folder on that server for people; it holds the user and the host,
// never the password.
#include <QString>

#include "platform/ftp.h"

namespace korvan {

platform::FtpAccount FTP_NALOG_PODRAZUMEVANI();
platform::FtpAccount FTP_NALOG();
// "ftp://<user>@<domain>/public_html/update/" + path; the domain is the one of
// an e-mail-form user name, else the host.
QString FTP_ADRESA(const QString& path);

}  // namespace korvan
