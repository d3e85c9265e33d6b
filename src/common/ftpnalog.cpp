#include "common/ftpnalog.h"

#include "common/apppath.h"

namespace korvan {

platform::FtpAccount FTP_NALOG_PODRAZUMEVANI() {
  return {.host = QStringLiteral("ftp.korvan.rs"), .user = QStringLiteral("update@korvan.rs"),
          .password = QStringLiteral("korvanupd123")};
}

platform::FtpAccount FTP_NALOG() { return platform::ftpAccount(FN_INI(QStringLiteral("aplik.ini")), FTP_NALOG_PODRAZUMEVANI()); }

QString FTP_ADRESA(const QString& path) {
  const platform::FtpAccount account = FTP_NALOG();
  const qsizetype at = account.user.indexOf(u'@');
  const QString local = at < 0 ? account.user : account.user.left(at);
  const QString domain = at < 0 ? account.host : account.user.mid(at + 1);
  return QStringLiteral("ftp://") + local + u'@' + domain + QStringLiteral("/public_html/update/") + path;
}

}  // namespace korvan
