#include "ui/lepiqale.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/dialogs_detail.h"

namespace korvan {

QIcon IconSource::icon() const {
  if (fromWidget_) return widget_ ? widget_->windowIcon() : QIcon();
  return resource_.isEmpty() ? QIcon() : QIcon(resource_);
}

int LEPI_QALERT(const QString& text, const QList<LepiEntry>& entries, const IconSource& icon,
                const std::optional<QFont>& font) {
  Box box{BoxKind::Choice, QStringLiteral("Izbor"), text};
  detail::DialogDetails d;
  d.lepi = true;
  for (const LepiEntry& e : entries) {
    box.buttons << e.text;
    d.icons << e.icon;
  }
  d.windowIcon = icon.icon();
  d.font = font;
  detail::PendingDetails keep(std::move(d));
  const int pos = presenter().show(box);
  if (pos < 1 || pos > entries.size()) return 0;
  return entries[pos - 1].value.value_or(pos);
}

namespace detail {

int showLepiDialog(const Box& box, const DialogDetails& d) {
  QDialog dlg;
  dlg.setWindowTitle(box.title);
  if (d.font) dlg.setFont(*d.font);
  if (!d.windowIcon.isNull()) dlg.setWindowIcon(d.windowIcon);
  auto* lay = new QVBoxLayout(&dlg);
  auto* label = new QLabel(box.text, &dlg);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  lay->addWidget(label);
  int answer = 0;
  for (int i = 0; i < box.buttons.size(); ++i) {
    auto* b = new QPushButton(box.buttons[i], &dlg);
    const QString res = i < d.icons.size() ? d.icons[i] : QString();
    if (!res.isEmpty()) b->setIcon(QIcon(res));
    QObject::connect(b, &QPushButton::clicked, &dlg, [&dlg, &answer, i] {
      answer = i + 1;
      dlg.accept();
    });
    lay->addWidget(b);
  }
  dlg.exec();
  return answer;
}

}  // namespace detail
}  // namespace korvan
