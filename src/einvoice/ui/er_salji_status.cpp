#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "common/files.h"
#include "common/msg.h"
#include "einvoice/ui/er_salji_internal.h"
#include "einvoice/send_answers.h"

namespace korvan {
namespace {

const char* const kYellow = ":/res/zuto.png";
const char* const kRed = ":/res/crveno.png";
const char* const kGreen = ":/res/zeleno.png";

struct StatusRun {
  EfmAccount account;
  QString invoiceId;
  QString xmlPath;
  SendSuccessAction onSuccess;
  bool asked = false;    // the status request was made
  bool outcome = false;  // a good status answer arrived
  QLabel* light = nullptr;
  QLabel* text = nullptr;
  QPushButton* button = nullptr;
  QTimer* timer = nullptr;
};

void setLight(QLabel* light, const char* name) {
  light->setPixmap(QPixmap(QString::fromLatin1(name)));
  light->setProperty("icon", QString::fromLatin1(name));
}

QString registeredLine(const QString& id) {
  return QStringLiteral("XML fajl je registrovan pod Id ") + id +
         QStringLiteral(", ali njegov status nije poznat. Ne šaljite ga ponovo!");
}

// Records the invoice under the id the upload gave, its status unknown.
void recordUnknown(const StatusRun& r) {
  if (r.onSuccess) r.onSuccess(r.xmlPath, salji::unknownStatusAnswer(r.invoiceId));
}

void showRed(StatusRun& r, const QString& cause) {
  r.text->setText(cause + u'\n' + registeredLine(r.invoiceId));
  setLight(r.light, kRed);
  r.button->setText(QStringLiteral("Razumem"));
  r.outcome = false;
  recordUnknown(r);
}

void OBRADI_ODG_STATUS(StatusRun& r, const QByteArray& answer) {
  r.timer->stop();
  const salji::StatusVerdict v = salji::classifyStatus(answer);
  switch (v.kind) {
    case salji::StatusVerdict::ServerError:
      showRed(r, QString::fromUtf8("Server je vratio grešku!\n") + v.serverText);
      return;
    case salji::StatusVerdict::NotJson:
      showRed(r, EFM_ERR_NIJE_JSON());
      return;
    case salji::StatusVerdict::Good:
      break;
  }
  QString text = QStringLiteral("XML fajl je uspešno registrovan.");
  if (!v.recordable)
    text += QStringLiteral("\nOdgovor o statusu nema 'InvoiceId' i 'Status': u bazu je upisan Id ") +
            r.invoiceId + QStringLiteral(" sa nepoznatim statusom.");
  r.text->setText(text);
  setLight(r.light, kGreen);
  r.button->setText(QStringLiteral("Ok"));
  r.outcome = true;
  FAJL_OK_ODGOVOR(r.xmlPath, answer);
  if (!r.onSuccess) return;
  if (v.recordable) r.onSuccess(r.xmlPath, QString::fromUtf8(answer));
  else recordUnknown(r);
}

void TIMER_FUNC(StatusRun& r) {
  // One request per send: the timer stops before anything can tick again.
  r.timer->stop();
  if (r.asked) return;
  r.asked = true;
  const EfmCall call = salji::statusCall(r.invoiceId);
  if (QByteArray answer; EFM_IZVRSI(call, r.account, &answer)) {
    OBRADI_ODG_STATUS(r, answer);
  } else {
    showRed(r, EFM_ERR_CURL());
  }
  QCoreApplication::processEvents();
}

}  // namespace

bool FAJL_OK_ODGOVOR(const QString& xmlPath, const QByteArray& answer) {
  return WRITE_MEMO_BYTES(xmlPath + QStringLiteral(".txt"), answer);
}

bool DIJALOG_STATUS(const QFont& font, const EfmAccount& account, const QString& invoiceId, const QString& xmlPath,
                    const SendSuccessAction& onSuccess) {
  StatusRun r;
  r.account = account;
  r.invoiceId = invoiceId;
  r.xmlPath = xmlPath;
  r.onSuccess = onSuccess;
  {
    QDialog dlg;
    dlg.setWindowTitle(QString::fromUtf8("Status poslatog XML eRačuna"));
    dlg.setWindowIcon(QIcon(QStringLiteral(":/res/salji.png")));
    dlg.setFont(font);
    dlg.resize(400, 200);
    auto* grid = new QGridLayout(&dlg);
    r.light = new QLabel(&dlg);
    r.light->setObjectName(QStringLiteral("light"));
    r.light->setAlignment(Qt::AlignCenter);
    setLight(r.light, kYellow);
    r.text = new QLabel(QStringLiteral("Čekam na odgovor..."), &dlg);
    r.text->setObjectName(QStringLiteral("text"));
    r.text->setAlignment(Qt::AlignCenter);
    r.text->setWordWrap(true);
    r.button = new QPushButton(QStringLiteral("Prekid"), &dlg);
    grid->addWidget(r.light, 0, 0);
    grid->addWidget(r.text, 1, 0);
    grid->addWidget(r.button, 5, 0);
    QObject::connect(r.button, &QPushButton::clicked, &dlg, &QDialog::accept);
    r.timer = new QTimer(&dlg);
    r.timer->setInterval(1000);
    QObject::connect(r.timer, &QTimer::timeout, &dlg, [&r] { TIMER_FUNC(r); });
    r.timer->start();
    dlg.exec();
    r.timer->stop();
  }
  if (!r.asked) {
    // Closed before the request: the invoice is registered all the same.
    recordUnknown(r);
    MSG(registeredLine(invoiceId));
  }
  return r.outcome;
}

}  // namespace korvan
