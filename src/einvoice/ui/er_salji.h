#pragma once
// Sending one written UBL document to the e-invoice system: confirmation,
// upload, one status request, and the caller's success action.
#include <QFont>
#include <QString>
#include <QVariant>

#include <functional>

#include "einvoice/account.h"

class QWidget;

namespace korvan {

class MyERACUN;

// Run once per send with the document's full path and the status answer text.
using SendSuccessAction = std::function<void(const QString& xmlPath, const QString& answer)>;

// Asks, uploads and asks for the status; true after a good status answer.
// The two unused values are passed absent by every caller.
bool ERACUNI_SALJI(QWidget* mainWindow, const QFont& font, const MyERACUN& record,
                   const EfmAccount& account, const QVariant& unused6 = {},
                   const QVariant& unused7 = {}, SendSuccessAction onSuccess = {},
                   bool offerRegister = false);

}  // namespace korvan
