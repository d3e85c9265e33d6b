#pragma once
// The local e-invoice store: tables INVOICE and FALS below the program folder.
// The first argument of most operations is a server object that is ignored
// (every caller passes none).
#include <QString>
#include <QVariant>

namespace korvan {

class MyERACUN;

bool EFMDB_OTVORI_BAZE();
void EFMDB_ZATVORI_BAZE();

// Records a sent invoice from its good status answer.
void EFMDB_OK_ODGOVOR_U_BAZU(const QVariant& server, const QString& xmlPath,
                             const QString& answer, const MyERACUN& record);

}  // namespace korvan
