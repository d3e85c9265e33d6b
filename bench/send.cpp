// Sending an invoice with a 10 MB PDF to the HTTPS peer on loopback: the
// send's two calls (upload and status), the whole send with its dialogs, and
// a bare curl upload of the same file to the same peer. Prints figures only.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "common/apppath.h"
#include "einvoice/curlcall.h"
#include "einvoice/ui/er_salji.h"
#include "einvoice/send_answers.h"
#include "einvoice/myeracun.h"
#include "support/peer.h"

using namespace korvan;

namespace {

QByteArray document(int pdfBytes) {
  QByteArray pdf("%PDF-1.4\n");
  pdf.resize(pdfBytes);
  auto* rng = QRandomGenerator::global();
  for (qsizetype i = 9; i < pdf.size(); ++i) pdf[i] = char(rng->generate() & 0xFF);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Invoice>\r\n<cbc:ID>R-1</cbc:ID>\r\n"
         "<cbc:IssueDate>2024-03-05</cbc:IssueDate>\r\n<cac:AdditionalDocumentReference><cac:Attachment>"
         "<cbc:EmbeddedDocumentBinaryObject mimeCode=\"application/pdf\" filename=\"R-1.pdf\">" +
         pdf.toBase64() + "</cbc:EmbeddedDocumentBinaryObject></cac:Attachment></cac:AdditionalDocumentReference>\r\n"
         "</Invoice>\r\n";
}

// Clicks through the confirmation and the status dialog of one send.
void driveDialogs() {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    for (auto* b : d->findChildren<QPushButton*>()) {
      if (b->text() == "Da" || b->text() == "Ok" || b->text() == "Razumem") {
        const bool last = b->text() != "Da";
        b->click();
        if (last) poll->deleteLater();
        return;
      }
    }
  });
  poll->start();
}

double bareCurl(const QString& url, const QString& path) {
  QElapsedTimer t;
  t.start();
  QProcess p;
  p.start("curl", {"-s", "-o", "/dev/null", "-X", "POST", "-H", "accept: text/plain", "-H", "ApiKey: bench", "-F",
                   "ublFile=@" + path + ";type=text/xml", url});
  p.waitForFinished(-1);
  if (p.exitCode() != 0) std::printf("bare curl failed: %d\n", p.exitCode());
  return t.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  SET_APPPATH(dir.path());
  test::Peer peer;
  if (!peer.start()) {
    std::printf("peer did not start: %s\n", qPrintable(peer.error()));
    return 1;
  }
  const QString path = dir.path() + "/R-1.xml";
  {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(document(10 * 1024 * 1024));
  }
  std::printf("document: %.1f MB\n", QFile(path).size() / 1048576.0);
  const int rounds = 5;
  double calls = 0, whole = 0, bare = 0, bareBoth = 0;
  for (int i = 0; i < rounds; ++i) {
    QElapsedTimer t;
    t.start();
    EFM_IZVRSI(salji::uploadCall(salji::requestId(QDateTime::currentDateTime()), false, path), efmAccount("bench", false));
    EFM_IZVRSI(salji::statusCall("9001"), efmAccount("bench", false));
    calls += t.nsecsElapsed() / 1e6;

    MyERACUN r;
    r.cFN_XML_FULL = path;
    r.cBRDOK = "R-1";
    r.dDATUM_IZDAVANJA = QDate(2024, 3, 5);
    driveDialogs();
    t.restart();
    ERACUNI_SALJI(nullptr, QApplication::font(), r, efmAccount("bench", false), {}, {}, {}, false);
    whole += t.nsecsElapsed() / 1e6;

    const double b = bareCurl(EFM_URL(efmAccount("", false), "sales-invoice/ubl/upload?requestId=1&sendToCir=No"), path);
    bare += b;
    QElapsedTimer s;
    s.start();
    QProcess p;
    p.start("curl", {"-s", "-o", "/dev/null", "-H", "ApiKey: bench", EFM_URL(efmAccount("", false), "sales-invoice?invoiceId=9001")});
    p.waitForFinished(-1);
    bareBoth += b + s.nsecsElapsed() / 1e6;
  }
  std::printf("send calls (upload + status), mean of %d: %.1f ms\n", rounds, calls / rounds);
  std::printf("whole send with dialogs (incl. the 1 s status timer): %.1f ms\n", whole / rounds);
  std::printf("bare curl upload: %.1f ms\n", bare / rounds);
  std::printf("bare curl upload + status: %.1f ms\n", bareBoth / rounds);
  std::printf("ratio send calls / bare curl upload + status: %.2f\n", calls / bareBoth);
  return 0;
}
