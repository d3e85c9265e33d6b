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

  // A lone reject-role button: the real dialog is ours, so closing answers 0.
  QStringList shown;
  test::whenModal([&](QWidget* w) {
    if (auto* mb = qobject_cast<QMessageBox*>(w))
      for (QAbstractButton* b : mb->buttons()) shown << b->text();
    w->close();
  });
  EXPECT_EQ(QALERT(QStringLiteral("?"), {{QString::fromUtf8("Obriši"), 1}}), 0);
  EXPECT_EQ(shown, QStringList{QString::fromUtf8("Obriši")});
  clearShellPlugs();
}

}  // namespace
}  // namespace korvan
