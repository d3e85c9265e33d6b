// The one send sequence of the invoice windows: the key is checked before the
// window's build runs, a failed build stops the send with its message, and the
// record goes to the sender with the account and the register question.
#include <QApplication>

#include "common/presenter.h"
#include "einvoice/curlcall.h"
#include "einvoice/ui/invoicesend.h"
#include "einvoice/fixture.h"
#include "support/programfolder.h"
#include "support/scriptedpresenter.h"

using namespace korvan;
using namespace korvan::test;

namespace {

struct Sent {
  EfmAccount account;
  QString number;
  bool offerRegister = false;
  bool hasAction = false;
};

class SendSequence : public ::testing::Test, public InvoiceSender {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setInvoiceSender(this);
  }
  void TearDown() override { setInvoiceSender(nullptr); }
  bool send(QWidget*, const QFont&, const MyERACUN& record, const EfmAccount& account,
            const SendSuccessAction& onSuccess, bool offerRegister) override {
    sent.append({account, record.cBRDOK, offerRegister, bool(onSuccess)});
    return true;
  }
  QuietBuild counting(const QString& jbkjs) {
    return [this, jbkjs] {
      ++builds;
      auto r = std::make_unique<MyERACUN>();
      r->cBRDOK = "R-1";
      r->cKOMIT_JBKJS = jbkjs;
      return r;
    };
  }

  TempProgramFolder dir;
  ScriptedPresenter boxes;
  QList<Sent> sent;
  int builds = 0;
};

TEST_F(SendSequence, WithoutAKeyNothingIsBuiltOrSent) {
  writeFile(dir.filePath("aplik.ini"), "[Firma]\r\nAPI_KLJUC_DEMO=samo-demo\r\n");
  EXPECT_FALSE(sendInvoice(nullptr, QApplication::font(), counting("")));
  EXPECT_EQ(builds, 0);
  EXPECT_TRUE(sent.isEmpty());
  EXPECT_EQ(boxes.texts(), QStringList{EFM_ERR_NEMA_KLJUCA()});
}

TEST_F(SendSequence, AFailedBuildIsNotSent) {
  writeFile(dir.filePath("aplik.ini"), "[Firma]\r\nAPI_KLJUC=k\r\n");
  EXPECT_FALSE(sendInvoice(nullptr, QApplication::font(), [] { return std::unique_ptr<MyERACUN>(); }));
  EXPECT_TRUE(sent.isEmpty());
  EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8("Desila se greška pri pravljenju XML-a, fajl NIJE POSLAT!")});
}

TEST_F(SendSequence, TheRecordGoesWithTheAccountOfTheModeAndTheRegisterQuestion) {
  writeFile(dir.filePath("aplik.ini"), "[Firma]\r\nAPI_KLJUC=pravi\r\nAPI_KLJUC_DEMO=demo\r\n");
  EXPECT_TRUE(sendInvoice(nullptr, QApplication::font(), counting("")));
  writeFile(dir.filePath("TEST.!!!"), "");
  EXPECT_TRUE(sendInvoice(nullptr, QApplication::font(), counting(" 12345 ")));
  ASSERT_EQ(sent.size(), 2);
  EXPECT_EQ(sent[0].account.apiKey, "pravi");
  EXPECT_FALSE(sent[0].account.testMode);
  EXPECT_FALSE(sent[0].offerRegister);
  EXPECT_EQ(sent[1].account.apiKey, "demo");
  EXPECT_TRUE(sent[1].account.testMode);
  EXPECT_TRUE(sent[1].offerRegister);
  EXPECT_EQ(sent[1].account.host, EFM_HOST());
  for (const Sent& s : sent) {
    EXPECT_EQ(s.number, "R-1");
    EXPECT_TRUE(s.hasAction) << "a good answer goes into the store";
  }
  EXPECT_EQ(builds, 2);
  EXPECT_TRUE(boxes.shown.isEmpty());
}

}  // namespace
