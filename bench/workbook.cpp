// Reads a workbook of 16 header cells and 200 lines of 11 columns through the
// workbook helper and exports its first sheet as PDF, twice with the backend
// held as the import window holds it (the second read finds the office
// running), then converts the same workbook with `soffice --headless
// --convert-to pdf`. Prints seconds: the first read's cell reads alone, the
// whole second read with its PDF export, and the conversion.
#include "platform/workbook_office.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

using namespace korvan::platform;

namespace {

const char* kMake = R"py(
import datetime, sys, openpyxl
wb = openpyxl.Workbook(); ws = wb.active
for i in range(16):
    ws.cell(row=i + 1, column=1, value="Polje %d" % i)
    ws.cell(row=i + 1, column=2, value=datetime.date(2022, 11, 1 + i) if i % 4 == 0 else "Vrednost %d" % i)
for r in range(20, 220):
    vals = ["S%04d" % r, "Artikal broj %d" % r, "1234567890%03d" % r, "kom", r % 7 + 1,
            12.5 + r, "=E%d*F%d" % (r, r), "=G%d" % r, 0.1, "=H%d*(1+I%d)" % (r, r), 0.2]
    for c, v in enumerate(vals, start=1):
        ws.cell(row=r, column=c, value=v)
wb.save(sys.argv[1])
)py";

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (!officeAvailable()) {
    std::printf("the office suite or the workbook helper is missing\n");
    return 1;
  }
  QTemporaryDir dir;
  const QString book = dir.filePath("racun.xlsx");
  QProcess make;
  make.start("/usr/bin/python3", {"-c", kMake, book});
  if (!make.waitForFinished(60000) || make.exitCode() != 0) {
    std::printf("could not make the workbook (python3-openpyxl)\n");
    return 1;
  }

  std::vector<CellPos> header, lines;
  for (int i = 0; i < 16; ++i) header.push_back({1, i});
  for (int r = 19; r < 219; ++r)
    for (int c = 0; c < 11; ++c) lines.push_back({c, r});

  // A window holds the backend: its second read finds the office of the first.
  OfficeBackend backend;
  backend.holdEngine();
  auto readOnce = [&](OfficeBackend& b, bool batched, const char* what, double* readS) {
    QElapsedTimer t;
    t.start();
    std::unique_ptr<Workbook> wb = b.open(book);
    const qint64 opened = t.elapsed();
    size_t read = 0;
    if (batched) {
      read += wb->cells(header).size();
      read += wb->cells(lines).size();
    } else {
      for (const CellPos& p : header) wb->cell(p.column, p.row), ++read;
      for (const CellPos& p : lines) wb->cell(p.column, p.row), ++read;
    }
    const qint64 readDone = t.elapsed();
    wb->exportFirstSheetPdf(dir.filePath("racun.pdf"));
    const qint64 exported = t.elapsed();
    wb->close();
    const qint64 closed = t.elapsed();
    std::printf("%s: %zu cells; open %.2f s, read %.2f s, PDF %.2f s, close %.2f s; total %.2f s\n", what, read,
                opened / 1000.0, (readDone - opened) / 1000.0, (exported - readDone) / 1000.0,
                (closed - exported) / 1000.0, closed / 1000.0);
    if (readS) *readS = (readDone - opened) / 1000.0;
    return closed / 1000.0;
  };
  double readS = 0;
  readOnce(backend, true, "first read (one request per range)", &readS);
  const double secondS = readOnce(backend, true, "second read, office kept", nullptr);
  backend.releaseEngine();
  std::printf("RESULT read_s %.3f\n", readS);
  std::printf("RESULT second_read_s %.3f\n", secondS);
  OfficeBackend fresh;
  readOnce(fresh, false, "for comparison, one request per cell", nullptr);

  QTemporaryDir profile;
  QElapsedTimer t;
  t.start();
  QProcess conv;
  conv.setProcessChannelMode(QProcess::MergedChannels);
  conv.start("soffice", {"-env:UserInstallation=" + QUrl::fromLocalFile(profile.path()).toString(QUrl::FullyEncoded),
                         "--headless", "--convert-to", "pdf", "--outdir", dir.filePath("conv"), book});
  conv.waitForFinished(180000);
  const double convS = t.elapsed() / 1000.0;
  std::printf("soffice --headless --convert-to pdf (fresh profile): %.2f s%s\n", convS,
              QFileInfo::exists(dir.filePath("conv/racun.pdf")) ? "" : " (no PDF written!)");
  std::printf("RESULT convert_s %.3f\n", convS);
  return 0;
}
