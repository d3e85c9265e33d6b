#include "ui/msglink.h"

#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "common/msg.h"
#include "platform/shell.h"

namespace korvan {
namespace {

struct LinkLook {
  QString icon;
  std::optional<QFont> font;
};
const LinkLook* pendingLook = nullptr;

}  // namespace

void MSGLINK(const QString& title, const QString& iconRes, const std::optional<QFont>& font,
             const QString& richText) {
  const LinkLook look{iconRes, font};
  const LinkLook* previous = pendingLook;
  pendingLook = &look;
  presenter().show({BoxKind::Link, title, richText});
  pendingLook = previous;
}

QString LINK_NA_FAJL(const QString& localPath, const QString& visibleText) {
  const QString href = QUrl::fromLocalFile(localPath).toString(QUrl::FullyEncoded);
  return QStringLiteral("<a href=\"") + href.toHtmlEscaped() + QStringLiteral("\">") +
         visibleText.toHtmlEscaped() + QStringLiteral("</a>");
}

bool OTVORI_LINK(const QString& link) {
  const QUrl url(link, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (url.isValid() && url.isLocalFile()) {
    const QString path = url.toLocalFile();
    if (platform::shell().openDocument(path)) return true;
    return MSG(QStringLiteral("Ne mogu da otvorim: ") + path);
  }
  if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))) {
    if (platform::shell().openUrl(url)) return true;
    return MSG(QStringLiteral("Ne mogu da otvorim: ") + link);
  }
  return MSG(QStringLiteral("Link nije dozvoljen: ") + link);
}

namespace detail {

int showLinkDialog(const Box& box) {
  const LinkLook* look = pendingLook;
  pendingLook = nullptr;  // a nested notice does not take this one's look
  QDialog dlg;
  dlg.setWindowTitle(box.title);
  if (look && !look->icon.isEmpty()) dlg.setWindowIcon(QIcon(look->icon));
  if (look && look->font) dlg.setFont(*look->font);
  auto* grid = new QGridLayout(&dlg);
  auto* label = new QLabel(&dlg);
  label->setTextFormat(Qt::RichText);
  label->setText(box.text);
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  label->setOpenExternalLinks(false);
  QObject::connect(label, &QLabel::linkActivated, &dlg, [](const QString& l) { OTVORI_LINK(l); });
  auto* ok = new QPushButton(QStringLiteral("Ok"), &dlg);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
  grid->addWidget(label, 0, 0);
  grid->addWidget(ok, 1, 0);
  dlg.exec();
  return 0;
}

}  // namespace detail
}  // namespace korvan
