// Builds and writes an invoice of 500 lines with a 10 MB PDF embedded, and
// times the coreutils base64 encoder on the same PDF for comparison.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "common/presenter.h"
#include "einvoice/ui/libkorvan.h"
#include "einvoice/ublwriter.h"
#include "support/scriptedpresenter.h"

using namespace korvan;

namespace {

QList<MyKOLONA> columns() {
  return {MyKOLONA::New("ART_SIFRA", "Šifra", "C", 10),   MyKOLONA::New("ART_NAZIV", "Naziv", "C", 30),
          MyKOLONA::New("ART_BARKOD", "Barkod", "C", 13), MyKOLONA::New("ART_JMERE", "J.m.", "C", 4),
          MyKOLONA::New("KOLICINA", "Količina", "N", 12, 3), MyKOLONA::New("CENB", "Cena", "N", 12, 4),
          MyKOLONA::New("RABATP", "Rabat %", "N", 7, 2),  MyKOLONA::New("STOPA", "PDV %", "N", 7, 2)};
}

double median(QList<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const QString ini = dir.filePath("aplik.ini");
  QFile f(ini);
  f.open(QIODevice::WriteOnly);
  f.write("[Firma]\r\nNAZIV=Prodavac\r\nPIB=100200300\r\nMATBROJ=1\r\nZIRO=160-1\r\nOBVPDV=T\r\n");
  f.close();

  const QString pdf = dir.filePath("Racun.pdf");
  QByteArray bytes("%PDF-1.4\n");
  bytes.resize(10 * 1024 * 1024);
  auto* rnd = QRandomGenerator::global();
  for (qsizetype i = 9; i + 4 <= bytes.size(); i += 4) {
    const quint32 v = rnd->generate();
    memcpy(bytes.data() + i, &v, 4);
  }
  QFile p(pdf);
  p.open(QIODevice::WriteOnly);
  p.write(bytes);
  p.close();

  const QList<MyKOLONA> cols = columns();
  QTableWidget table(500, cols.size());
  for (int r = 0; r < 500; ++r) {
    const QStringList cells = {QString("A%1").arg(r), QString("Artikal broj %1 & dodatak").arg(r), "8600000000000",
                               "KOM", QString("%1,5").arg(r % 7 + 1), QString("%1,25").arg(100 + r), r % 3 ? "0" : "10",
                               r % 2 ? "20" : "10"};
    for (int c = 0; c < cells.size(); ++c) table.setItem(r, c, new QTableWidgetItem(cells[c]));
  }

  ScriptedPresenter quiet;  // any message would be recorded, not shown
  QList<double> ours, theirs, text;
  qint64 size = 0;
  for (int run = 0; run < 5; ++run) {
    QElapsedTimer t;
    t.start();
    auto rec = FUNC_NAPRAVI_XML("1/2022", QDate(2022, 12, 14), QDate(2022, 12, 24), "", QDate(2022, 12, 14), "", "", "",
                                "Kupac", "Beograd", "Ulica 1", "101112131", "2", "11000", "", "", ini, pdf, &table,
                                QFont(), cols, true, "", "", std::nullopt);
    ours << t.nsecsElapsed() / 1e6;
    if (!rec) {
      std::fprintf(stderr, "build failed: %s\n", qPrintable(quiet.texts().join(" / ")));
      return 1;
    }
    size = QFile(rec->cFN_XML_FULL).size();
    t.restart();
    const QByteArray doc = UBL_DOCUMENT(*rec);
    text << t.nsecsElapsed() / 1e6;

    QProcess b64;
    b64.setStandardOutputFile(dir.filePath("pdf.b64"));
    t.restart();
    b64.start("base64", {"-w", "0", pdf});
    b64.waitForFinished(-1);
    theirs << t.nsecsElapsed() / 1e6;
  }
  const double a = median(ours), b = median(theirs);
  std::printf("document: 500 lines, 10 MB PDF, %lld bytes written\n", static_cast<long long>(size));
  std::printf("build and write: %.1f ms (median of 5, best %.1f ms)\n", a, *std::min_element(ours.begin(), ours.end()));
  std::printf("  of which the document text alone: %.1f ms (median)\n", median(text));
  std::printf("base64 (coreutils) of the PDF: %.1f ms (median of 5)\n", b);
  std::printf("ratio: %.2f x (target within 2 x and under 150 ms)\n", b > 0 ? a / b : 0.0);
  return 0;
}
