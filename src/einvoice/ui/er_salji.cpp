#include "einvoice/ui/er_salji.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/msg.h"
#include "common/picture.h"
#include "einvoice/ui/er_salji_internal.h"
#include "einvoice/send_answers.h"
#include "einvoice/myeracun.h"
#include "ui/kolona.h"

namespace korvan {
namespace {

QLineEdit* shownField(QWidget* parent, const QString& text, bool right = false) {
  auto* e = new QLineEdit(text, parent);
  e->setEnabled(false);
  if (right) e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return e;
}

}  // namespace

bool UPIT_SLANJA(QWidget* /*mainWindow*/, const QFont& font, const MyERACUN& record, bool testMode,
                 bool offerRegister, bool& registerFlag) {
  QDialog dlg;
  dlg.setWindowTitle(QStringLiteral("Potvrda slanja"));
  dlg.setWindowIcon(QIcon(QStringLiteral(":/res/korvan.png")));
  dlg.setFont(font);
  auto* grid = new QGridLayout(&dlg);
  QString question = QString::fromUtf8("Da li sigurno želite da pošaljete XML fajl?");
  if (testMode) question += QStringLiteral(" na DEMO sajt");
  grid->addWidget(new QLabel(question, &dlg), 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Broj dokumenta"), &dlg), 1, 0);
  grid->addWidget(shownField(&dlg, record.cBRDOK), 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Kupac"), &dlg), 2, 0);
  QLineEdit* buyer = shownField(&dlg, record.cKOMIT_NAZIV);
  buyer->setMinimumWidth(int(40 * NPOINTSIZE(&dlg)));
  grid->addWidget(buyer, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Datum izdavanja"), &dlg), 3, 0);
  auto* date = new QDateEdit(&dlg);
  date->setObjectName(QStringLiteral("datumIzdavanja"));
  date->setCalendarPopup(true);
  date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  if (record.dDATUM_IZDAVANJA.isValid()) date->setDate(record.dDATUM_IZDAVANJA);
  grid->addWidget(date, 3, 1);
  QCheckBox* crf = nullptr;
  if (offerRegister) {
    crf = new QCheckBox(QStringLiteral("Slanje u CRF?"), &dlg);
    crf->setChecked(true);
    grid->addWidget(crf, 4, 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("Za uplatu"), &dlg), 5, 0);
  grid->addWidget(shownField(&dlg, TRANSFORM(record.WZA_UPLATU, QStringLiteral("@EZ 999,999,999,999.99")).trimmed(),
                             true),
                  5, 1);
  if (record.aATTACH && !record.aATTACH->isEmpty()) {
    grid->addWidget(new QLabel(QStringLiteral("Broj priloga"), &dlg), 6, 0);
    auto* n = new QLabel(QString::number(record.aATTACH->size()), &dlg);
    n->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(n, 6, 1);
  }
  auto* no = new QPushButton(QIcon(QStringLiteral(":/res/izlaz.png")), QStringLiteral("Ne"), &dlg);
  auto* yes = new QPushButton(QIcon(QStringLiteral(":/res/accept.png")), QStringLiteral("Da"), &dlg);
  no->setAutoDefault(false);
  yes->setDefault(true);
  grid->addWidget(no, 10, 0);
  grid->addWidget(yes, 10, 1);
  QObject::connect(no, &QPushButton::clicked, &dlg, &QDialog::reject);
  QObject::connect(yes, &QPushButton::clicked, &dlg, &QDialog::accept);
  yes->setFocus();
  if (dlg.exec() != QDialog::Accepted) return false;

  if (crf) registerFlag = crf->isChecked();
  const QDate edited = date->date();
  const QString path = record.cFN_XML_FULL;
  if (record.dDATUM_IZDAVANJA.isValid() && edited != record.dDATUM_IZDAVANJA && QFile::exists(path) &&
      MSGYESNO(QString::fromUtf8("Da li sigurno želite da izmenite DATUM IZDAVANJA?"))) {
    if (!salji::changeIssueDate(path, record.dDATUM_IZDAVANJA, edited))
      return MSG(QString::fromUtf8("Datum izdavanja nije izmenjen.\nFajl NIJE POSLAT!"));
  }
  return true;
}

bool OBRADI_ODG_SLANJE(const QByteArray& answer, const EfmAccount& account, const QFont& font, const QString& xmlPath, const SendSuccessAction& onSuccess) {
  const salji::UploadVerdict v = salji::classifyUpload(answer);
  if (v.kind != salji::UploadVerdict::Registered) return MSG(v.message);
  return DIJALOG_STATUS(font, account, v.invoiceId, xmlPath, onSuccess);
}

bool ERACUNI_SALJI(QWidget* mainWindow, const QFont& font, const MyERACUN& record,
                   const EfmAccount& account, const QVariant& /*unused6*/,
                   const QVariant& /*unused7*/, SendSuccessAction onSuccess, bool offerRegister) {
  const QString requestId = salji::requestId(QDateTime::currentDateTime());
  bool registerFlag = offerRegister;
  if (!UPIT_SLANJA(mainWindow, font, record, account.testMode, offerRegister, registerFlag)) return false;

  const QString xmlPath = record.cFN_XML_FULL;
  const EfmCall call = salji::uploadCall(requestId, registerFlag, xmlPath);
  if (!call.writable)
    return MSG(QString::fromUtf8("Putanja XML fajla sadrži prelom reda i ne može da se pošalje:\n") + xmlPath +
               QStringLiteral("\nFajl NIJE POSLAT!"));
  QByteArray answer;
  CurlExit curl;
  if (!EFM_IZVRSI(call, account, &answer, &curl)) return MSG(EFM_ERR_SLANJE(curl));
  return OBRADI_ODG_SLANJE(answer, account, font, xmlPath, onSuccess);
}

}  // namespace korvan
