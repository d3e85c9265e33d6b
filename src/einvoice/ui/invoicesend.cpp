#include "einvoice/ui/invoicesend.h"

#include <QFileInfo>

#include "common/msg.h"
#include "einvoice/efmdbdbf.h"
#include "einvoice/myeracun.h"
#include "ui/msglink.h"

namespace korvan {
namespace {

class RealSender : public InvoiceSender {
 public:
  bool send(QWidget* mainWindow, const QFont& font, const MyERACUN& record, const EfmAccount& account,
            const SendSuccessAction& onSuccess, bool offerRegister) override {
    return ERACUNI_SALJI(mainWindow, font, record, account, QVariant(), QVariant(), onSuccess, offerRegister);
  }
};

InvoiceSender* installed = nullptr;

}  // namespace

std::unique_ptr<MyERACUN> makeInvoice(const InvoiceInput& in, const QFont& font, bool quiet) {
  InvoiceBuild b = buildInvoice(in);
  if (!b.record) {
    MSG(b.refusal);
    return nullptr;
  }
  if (!quiet) {
    const QString folder = QFileInfo(b.record->cFN_XML_FULL).absolutePath();
    MSGLINK("Napravljen je XML", ":/res/korvan.png", font,
            "Napravljen je XML fajl:<br>" + LINK_NA_FAJL(folder, b.record->cFN_XML_FULL));
  }
  return std::move(b.record);
}

bool sendInvoice(QWidget* mainWindow, const QFont& font, const QuietBuild& build) {
  const EfmAccount account = readEfmAccount();
  if (account.apiKey.isEmpty()) return MSG(EFM_ERR_NEMA_KLJUCA());
  const std::unique_ptr<MyERACUN> record = build();
  if (!record) return MSG(QString::fromUtf8("Desila se greška pri pravljenju XML-a, fajl NIJE POSLAT!"));
  const MyERACUN& r = *record;
  const SendSuccessAction toStore = [&r](const QString& xmlPath, const QString& answer) {
    EFMDB_OK_ODGOVOR_U_BAZU(QVariant(), xmlPath, answer, r);
  };
  const bool offerRegister = !r.cKOMIT_JBKJS.trimmed().isEmpty();
  return invoiceSender().send(mainWindow, font, r, account, toStore, offerRegister);
}

InvoiceSender& invoiceSender() {
  static RealSender real;
  return installed ? *installed : real;
}

void setInvoiceSender(InvoiceSender* s) { installed = s; }

}  // namespace korvan
