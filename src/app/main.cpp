#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.setWindowTitle("Korvan   (ver 2022.12.14)");
  w.showMaximized();
  return app.exec();
}
