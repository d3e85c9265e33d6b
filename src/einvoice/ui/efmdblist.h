#pragma once
// The listing of the local e-invoice store with its progress box.
#include <QList>
#include <QString>
#include <QVariant>

#include "einvoice/efmdbdbf.h"

namespace korvan {

// The rows of one direction, highest id first (efmdbRows), with a progress
// box whose stop returns the rows read so far. Empty when the store cannot be
// opened.
QList<QVariantList> EFMDB_PUNI_TABELA(const QVariant& server, const QString& ui, const QString& pib = {});

}  // namespace korvan
