#pragma once
// The checks after an invoice window sent a document to the HTTPS peer.
#include <gtest/gtest.h>

#include "einvoice/efmdbdbf.h"
#include "einvoice/fixture.h"
#include "einvoice/salji_fixture.h"

namespace korvan::test {

// The document is schema-valid, the peer got it once with the key as the
// upload's one part, and the store holds it under the id.
inline void expectSentAndStored(const Peer& peer, const QString& xml, const QString& key, qint64 id) {
  EXPECT_EQ(schemaErrors(xml).toStdString(), "");
  const QList<PeerRequest> uploads = requestsTo(peer, QStringLiteral("sales-invoice/ubl/upload"));
  ASSERT_EQ(uploads.size(), 1);
  EXPECT_EQ(uploads[0].header(QStringLiteral("ApiKey")), key);
  const QList<FormPart> parts = parseMultipart(uploads[0]);
  ASSERT_EQ(parts.size(), 1);
  EXPECT_EQ(parts[0].data, readFile(xml)) << "the document beside the PDF is what was sent";
  EXPECT_TRUE(EFMDB_POSTOJI_INVOICE({}, QStringLiteral("I"), id));
  QString stored;
  EXPECT_TRUE(EFMDB_UZMI_IZ_BAZE({}, 1, nullptr, &stored, nullptr, nullptr));
  EFMDB_ZATVORI_BAZE();
  EXPECT_EQ(stored.toUtf8(), readFile(xml));
}

}  // namespace korvan::test
