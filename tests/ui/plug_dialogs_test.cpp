// What the window framework plugs into the shell.
#include <QApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "common/presenter.h"
#include "common/shellhooks.h"
#include "modal.h"
#include "ui/libqt.h"

namespace korvan {
void plug_dialogs();
namespace {

TEST(PlugDialogs, InstallsThePaletteHookAndTheRealChoiceDialog) {
  clearShellPlugs();
  plug_dialogs();
  ASSERT_TRUE(shellHooks().podesiPaletuDisabled);
  const QPalette saved = QApplication::palette();
  QPalette p = saved;
  p.setColor(QPalette::Active, QPalette::Text, QColor(5, 6, 7));
  QApplication::setPalette(p);
  shellHooks().podesiPaletuDisabled(*qApp);
  EXPECT_EQ(QApplication::palette().color(QPalette::Disabled, QPalette::Text), QColor(5, 6, 7));
  QApplication::setPalette(saved);

  // A lone reject-role button: the real dialog is ours, so Esc answers 0.
  QMessageBox::ButtonRole role = QMessageBox::InvalidRole;
  test::whenModal([&](QWidget* w) {
    if (auto* mb = qobject_cast<QMessageBox*>(w)) role = mb->buttonRole(mb->buttons().value(0));
    w->close();
  });
  EXPECT_EQ(QALERT(QStringLiteral("?"), {{QStringLiteral("Obriši"), 1}}), 0);
  EXPECT_EQ(role, QMessageBox::RejectRole);  // the roles reached the dialog
  clearShellPlugs();
}

}  // namespace
}  // namespace korvan
