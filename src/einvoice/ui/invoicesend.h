#pragma once
// The one send sequence of every invoice window, and the seam tests put a
// recorder into. A window reads its own inputs and makes two calls:
//   build:  makeInvoice(input, font, quiet)   (or FUNC_NAPRAVI_XML for a line table)
//   send:   sendInvoice(mainWindow, font, [&] { return <its quiet build>; })
// sendInvoice checks the account's key first (nothing is built without one),
// then runs the window's quiet build, sends the record through the sender in
// force (ERACUNI_SALJI unless a test installed another) with the register
// question offered when the buyer has a JBKJS, and records a good answer in
// the local store. Every failure ends in its message; nothing fails silently.
#include <QFont>
#include <functional>
#include <memory>

#include "einvoice/account.h"
#include "einvoice/ui/er_salji.h"
#include "einvoice/invoiceinput.h"

class QWidget;

namespace korvan {

// Builds the invoice and shows the refusal, or (unless quiet) the notice
// naming the document with a link to its folder. The record, or nullptr.
std::unique_ptr<MyERACUN> makeInvoice(const InvoiceInput& in, const QFont& font, bool quiet);

// The window's build for a send: the record, or nullptr after its message.
using QuietBuild = std::function<std::unique_ptr<MyERACUN>()>;

// The sequence above; true when the sender reported a good status answer.
bool sendInvoice(QWidget* mainWindow, const QFont& font, const QuietBuild& build);

// The send step; the real one is ERACUNI_SALJI.
class InvoiceSender {
 public:
  virtual ~InvoiceSender() = default;
  virtual bool send(QWidget* mainWindow, const QFont& font, const MyERACUN& record, const EfmAccount& account,
                    const SendSuccessAction& onSuccess, bool offerRegister) = 0;
};

// The sender in force (the real one unless a test installed another).
InvoiceSender& invoiceSender();
// Installs s (not owned); nullptr puts the real sender back.
void setInvoiceSender(InvoiceSender* s);

}  // namespace korvan
