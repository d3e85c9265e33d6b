#pragma once
// The choice dialog with a column of large buttons.
#include <QFont>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

#include "common/presenter.h"

class QWidget;

namespace korvan {

struct LepiEntry {
  QString text;
  QVariant flag;              // carried; read by nothing
  QString icon;               // icon resource of the button, "" for none
  std::optional<int> value;   // the answer of this button; absent: its position
};

// Where the dialog's window icon comes from: a widget's window icon or a resource.
class IconSource {
 public:
  IconSource() = default;
  IconSource(QWidget* w) : widget_(w), fromWidget_(true) {}
  IconSource(const QString& resource) : resource_(resource) {}
  IconSource(const char* resource) : resource_(QString::fromUtf8(resource)) {}
  QIcon icon() const;
 private:
  QPointer<QWidget> widget_;
  bool fromWidget_ = false;
  QString resource_;
};

// A dialog titled "Izbor": the text, then one button per entry in list order.
// Answers the clicked entry's value, or its 1-based position when it has none;
// Esc or the close button answer 0.
int LEPI_QALERT(const QString& text, const QList<LepiEntry>& entries,
                const IconSource& icon = IconSource(),
                const std::optional<QFont>& font = std::nullopt);

namespace detail {
struct DialogDetails;
// The real dialog behind the presenter; answers the 1-based button, 0 for none.
int showLepiDialog(const Box& box, const DialogDetails& d);
}  // namespace detail

}  // namespace korvan
