#pragma once
// What the real choice dialogs need beyond the presenter's Box (button roles,
// icons, fonts). The caller leaves it for the next real dialog; a scripted
// presenter never looks at it.
#include <QFont>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <optional>

namespace korvan::detail {

struct DialogDetails {
  bool lepi = false;    // the column of large buttons (LEPI_QALERT)
  QList<int> roles;     // QALERT: message-box role of each button
  QStringList icons;    // LEPI_QALERT: icon resource of each button ("" = none)
  QIcon windowIcon;     // null: the application's
  std::optional<QFont> font;
};

// Leaves details for the next real dialog while it lives.
class PendingDetails {
 public:
  explicit PendingDetails(DialogDetails d);
  ~PendingDetails();
  PendingDetails(const PendingDetails&) = delete;
  PendingDetails& operator=(const PendingDetails&) = delete;
 private:
  DialogDetails details_;
  const DialogDetails* previous_;
};

// The details left for this dialog, taken so that a nested dialog does not see
// them; nullptr when none were left.
const DialogDetails* takePendingDetails();

}  // namespace korvan::detail
