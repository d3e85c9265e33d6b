#pragma once
// The steps of a send, shared by the confirmation and the status dialog.
#include <QFont>
#include <QString>

#include "einvoice/ui/er_salji.h"

class QWidget;

namespace korvan {

// Confirmation and issue-date change; false when declined or when the
// changed date could not be written (then nothing is sent).
bool UPIT_SLANJA(QWidget* mainWindow, const QFont& font, const MyERACUN& record, bool testMode,
                 bool offerRegister, bool& registerFlag);
// Handles the upload answer; the result of the send.
bool OBRADI_ODG_SLANJE(const QByteArray& answer, const EfmAccount& account, const QFont& font,
                       const QString& xmlPath, const SendSuccessAction& onSuccess);
// The status dialog for a registered invoice; true after a good status answer.
bool DIJALOG_STATUS(const QFont& font, const EfmAccount& account, const QString& invoiceId, const QString& xmlPath,
                    const SendSuccessAction& onSuccess);
// Writes the status answer beside the document (its path + ".txt").
bool FAJL_OK_ODGOVOR(const QString& xmlPath, const QByteArray& answer);

}  // namespace korvan
