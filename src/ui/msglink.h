#pragma once
// A notice with a clickable link. Links open through the shell layer.
#include <QFont>
#include <QString>
#include <optional>

#include "common/presenter.h"

namespace korvan {

// Shows the rich text with an "Ok" button and returns when it is closed.
void MSGLINK(const QString& title, const QString& iconRes, const std::optional<QFont>& font,
             const QString& richText);

// A link to a local file or folder: the target made from the path with
// QUrl::fromLocalFile, the visible text HTML-escaped.
QString LINK_NA_FAJL(const QString& localPath, const QString& visibleText);

// Opens a link of the notice: file links as documents or folders, http(s)
// links in the browser. Any other link, or one that cannot be opened, is
// reported with MSG. Answers whether it was opened.
bool OTVORI_LINK(const QString& link);

namespace detail {
// The real dialog behind the presenter.
int showLinkDialog(const Box& box);
}  // namespace detail

}  // namespace korvan
