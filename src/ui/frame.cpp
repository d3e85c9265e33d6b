#include "ui/frame.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

MyFRAME::MyFRAME(const QString& text, bool prekid) {
  build(text, prekid);
  QCoreApplication::processEvents();
}

MyFRAME::MyFRAME(int width, bool prekid) { build(QString(qMax(0, width), QLatin1Char(' ')), prekid); }

MyFRAME::~MyFRAME() { End(); }

void MyFRAME::build(const QString& text, bool prekid) {
  oFont = QApplication::font();
  oFont.setPointSize(12);
  oDlg = new QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
  oDlg->setFont(oFont);
  if (prekid) QObject::connect(oDlg, &QDialog::rejected, oDlg, [this] { lPREKID = true; });
  oLabel = new QLabel(text, oDlg);
  olayV = new QVBoxLayout(oDlg);
  olayV->addWidget(oLabel);
  if (prekid) {
    obCANCEL = new QPushButton(QStringLiteral("Prekid"), oDlg);
    QObject::connect(obCANCEL, &QPushButton::clicked, oDlg, [this] { lPREKID = true; });
    olayV->addWidget(obCANCEL);
  }
  oDlg->setWindowModality(Qt::ApplicationModal);
  oDlg->show();
}

namespace {
int g_interval = 50;
}

void MyFRAME::SET_INTERVAL(int ms) { g_interval = qMax(0, ms); }

bool MyFRAME::Due() const { return !shown_.isValid() || shown_.elapsed() >= g_interval; }

void MyFRAME::Disp(const QString& text) {
  if (oLabel) oLabel->setText(text);
  if (!Due()) return;
  QCoreApplication::processEvents();
  shown_.start();
}

void MyFRAME::End() {
  if (oDlg) {
    if (obCANCEL) obCANCEL->disconnect(oDlg);
    oDlg->disconnect();
    oDlg->close();
    oDlg->deleteLater();
  }
  oDlg = nullptr;
  oLabel = nullptr;
  obCANCEL = nullptr;
  olayV = nullptr;
}

}  // namespace korvan
