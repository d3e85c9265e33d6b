#pragma once
// A program folder, a written document and a started peer for the send tests,
// and a driver for the send's two dialogs.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/apppath.h"
#include "common/presenter.h"
#include "einvoice/curlcall.h"
#include "einvoice/ui/er_salji.h"
#include "einvoice/myeracun.h"
#include "support/peer.h"
#include "ui/modal.h"
#include "support/scriptedpresenter.h"

namespace korvan::test {

inline QByteArray smallDocument(const char* issue = "2024-03-05", const char* due = "2024-04-05") {
  return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Invoice>\r\n") +
         "<cbc:ID>R-15</cbc:ID>\r\n<cbc:IssueDate>" + issue + "</cbc:IssueDate>\r\n<cbc:DueDate>" + due +
         "</cbc:DueDate>\r\n</Invoice>\r\n";
}

// Runs step on the first modal dialog titled title, once it is up.
inline void onDialog(const QString& title, std::function<void(QDialog*)> step) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, title, step] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d || d->windowTitle() != title) return;
    poll->stop();
    poll->deleteLater();
    step(d);
  });
  poll->start();
  // No poller outlives its test.
  QTimer::singleShot(60000, poll, [poll] { poll->deleteLater(); });
}

// Waits until the status dialog shows its outcome (its button no longer
// "Prekid"), hands it to seen, then presses the button.
inline void finishStatus(std::function<void(QDialog*)> seen = {}) {
  onDialog(QString::fromUtf8("Status poslatog XML eRačuna"), [seen](QDialog* d) {
    auto* poll = new QTimer(d);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, d, [d, poll, seen] {
      auto* b = d->findChild<QPushButton*>();
      if (!b || b->text() == QStringLiteral("Prekid")) return;
      poll->stop();
      if (seen) seen(d);
      b->click();
    });
    poll->start();
  });
}

// Presses "Da" on the confirmation, after an optional look at it.
inline void confirm(std::function<void(QDialog*)> look = {}) {
  onDialog(QStringLiteral("Potvrda slanja"), [look](QDialog* d) {
    if (look) look(d);
    button(d, QStringLiteral("Da"))->click();
  });
}

class SendFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.isValid());
    SET_APPPATH(app.path());
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
    EFM_SET_LIMITS({5, 20});
    docFolder = app.path() + QStringLiteral("/docs");
    QDir().mkpath(docFolder);
    setDocument(docFolder + QStringLiteral("/R-15.xml"));
    record.cBRDOK = QStringLiteral("R-15");
    record.cKOMIT_NAZIV = QStringLiteral("Kupac d.o.o.");
    record.dDATUM_IZDAVANJA = QDate(2024, 3, 5);
    record.WZA_UPLATU = 1234.5;
  }
  void TearDown() override { EFM_SET_LIMITS({}); }

  void setDocument(const QString& path, const QByteArray& bytes = smallDocument()) {
    record.cFN_XML_FULL = path;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }

  // Sends with an action that counts its calls.
  bool send(bool testMode = false, bool offerRegister = false) {
    return ERACUNI_SALJI(nullptr, QApplication::font(), record, efmAccount(QStringLiteral("tajni-kljuc-42"), testMode), {}, {},
                         [this](const QString& path, const QString& answer) {
                           actions.append({path, answer});
                         },
                         offerRegister);
  }

  QList<PeerRequest> uploads() const { return requestsTo(QStringLiteral("sales-invoice/ubl/upload")); }
  QList<PeerRequest> requestsTo(const QString& apiPath) const {
    QList<PeerRequest> out;
    for (const auto& r : peer.requests())
      if (r.path == QStringLiteral("/api/publicApi/") + apiPath) out << r;
    return out;
  }

  QTemporaryDir app;
  Peer peer;
  ScriptedPresenter boxes;
  MyERACUN record;
  QString docFolder;
  QList<QPair<QString, QString>> actions;
};

}  // namespace korvan::test
