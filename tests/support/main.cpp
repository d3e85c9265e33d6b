// Test main shared by every test program: a real QApplication, offscreen,
// with a pinned font and DPI so that widths in tests are reproducible.
#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QT_FONT_DPI")) qputenv("QT_FONT_DPI", "96");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QFont f("DejaVu Sans");
  f.setPointSize(10);
  QApplication::setFont(f);
  return RUN_ALL_TESTS();
}
