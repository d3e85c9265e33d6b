// The decisions on upload and status answers, and the issue-date rewrite.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/presenter.h"
#include "einvoice/send_answers.h"
#include "einvoice/libefman.h"
#include "support/scriptedpresenter.h"

namespace korvan {
namespace {

using salji::StatusVerdict;
using salji::UploadVerdict;

const QString kNotSent = "Fajl NIJE POSLAT!";
const QString kNotJson = QString::fromUtf8("Greška pri obradi odgovora servera: Odgovor nije JSON fajl!");

TEST(SendAnswerTest, UploadAnswers) {
  struct Case {
    const char* answer;
    UploadVerdict::Kind kind;
    const char* id;
    QString message;
  };
  const QString err = QString::fromUtf8("Server je vratio grešku!\n");
  const QList<Case> cases = {
      {R"({"InvoiceId":1,"SalesInvoiceId":4711})", UploadVerdict::Registered, "4711", ""},
      {R"({"SalesInvoiceId":"4711"})", UploadVerdict::Registered, "4711", ""},
      {R"({"SalesInvoiceId":"004711"})", UploadVerdict::Registered, "4711", ""},
      {R"({"SalesInvoiceId":"9999999999999999999"})", UploadVerdict::ServerError, "",
       err + R"({"SalesInvoiceId":"9999999999999999999"})" + "\n" + kNotSent},
      {R"({"SalesInvoiceId":4711,"ErrorCode":"X"})", UploadVerdict::Registered, "4711", ""},
      {R"({"ErrorCode":"E1","Message":"Los PIB"})", UploadVerdict::ServerError, "", err + "Los PIB\n" + kNotSent},
      {R"({"ErrorCode":"E1"})", UploadVerdict::ServerError, "", err + "E1\n" + kNotSent},
      {R"({"ErrorCode":17})", UploadVerdict::ServerError, "", err + "17\n" + kNotSent},
      {R"({"Message":"Samo poruka"})", UploadVerdict::ServerError, "", err + "Samo poruka\n" + kNotSent},
      {"{}", UploadVerdict::ServerError, "", err + "{}\n" + kNotSent},
      {"[]", UploadVerdict::ServerError, "", err + "[]\n" + kNotSent},
      {"123", UploadVerdict::ServerError, "", err + "123\n" + kNotSent},
      {R"({"SalesInvoiceId":1.5})", UploadVerdict::ServerError, "", err + R"({"SalesInvoiceId":1.5})" + "\n" + kNotSent},
      {R"({"SalesInvoiceId":-3})", UploadVerdict::ServerError, "", err + R"({"SalesInvoiceId":-3})" + "\n" + kNotSent},
      {R"({"SalesInvoiceId":null})", UploadVerdict::ServerError, "", err + R"({"SalesInvoiceId":null})" + "\n" + kNotSent},
      {"", UploadVerdict::NotJson, "", kNotJson + "\n" + kNotSent},
      {"<html>502</html>", UploadVerdict::NotJson, "", kNotJson + "\n" + kNotSent},
      {R"({"SalesInvoiceId":4711)", UploadVerdict::NotJson, "", kNotJson + "\n" + kNotSent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    const UploadVerdict v = salji::classifyUpload(c.answer);
    EXPECT_EQ(v.kind, c.kind);
    EXPECT_EQ(v.invoiceId, c.id);
    if (c.kind != UploadVerdict::Registered) {
      EXPECT_EQ(v.message, c.message);
    }
  }
}

TEST(SendAnswerTest, StatusAnswers) {
  struct Case {
    const char* answer;
    StatusVerdict::Kind kind;
    bool recordable;
    const char* serverText;
  };
  const QList<Case> cases = {
      {R"({"InvoiceId":123,"Status":"Sent"})", StatusVerdict::Good, true, ""},
      {R"({"InvoiceId":"123","Status":"Seen","Comment":null})", StatusVerdict::Good, true, ""},
      {R"({"Status":"Sent"})", StatusVerdict::Good, false, ""},
      {R"({"InvoiceId":123})", StatusVerdict::Good, false, ""},
      {R"({"InvoiceId":123,"Status":""})", StatusVerdict::Good, false, ""},
      {R"({"InvoiceId":12.5,"Status":"Sent"})", StatusVerdict::Good, false, ""},
      {"{}", StatusVerdict::Good, false, ""},
      {R"({"ErrorCode":"E","Message":"Ne postoji"})", StatusVerdict::ServerError, false, "Ne postoji"},
      {R"({"ErrorCode":"E404"})", StatusVerdict::ServerError, false, "E404"},
      {"[]", StatusVerdict::ServerError, false, "[]"},
      {"123", StatusVerdict::ServerError, false, "123"},
      {"", StatusVerdict::NotJson, false, ""},
      {"Internal error", StatusVerdict::NotJson, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    const StatusVerdict v = salji::classifyStatus(c.answer);
    EXPECT_EQ(v.kind, c.kind);
    EXPECT_EQ(v.recordable, c.recordable);
    EXPECT_EQ(v.serverText, c.serverText);
  }
}

TEST(SendAnswerTest, IssueDateRewriteTouchesOnlyIssueDateLines) {
  struct Case {
    const char* name;
    QByteArray doc;
    QByteArray expected;
  };
  const QList<Case> cases = {
      {"crlf",
       "<a>\r\n<cbc:IssueDate>2024-03-05</cbc:IssueDate>\r\n<cbc:DueDate>2024-03-05</cbc:DueDate>\r\n</a>\r\n",
       "<a>\r\n<cbc:IssueDate>2024-03-07</cbc:IssueDate>\r\n<cbc:DueDate>2024-03-05</cbc:DueDate>\r\n</a>\r\n"},
      {"due on the same line",
       "<cbc:IssueDate>2024-03-05</cbc:IssueDate><cbc:DueDate>2024-03-05</cbc:DueDate>\r\n",
       "<cbc:IssueDate>2024-03-07</cbc:IssueDate><cbc:DueDate>2024-03-07</cbc:DueDate>\r\n"},
      {"lf and no last ending",
       "<a>\n<cbc:IssueDate>2024-03-05</cbc:IssueDate>\n<x>2024-03-05</x>",
       "<a>\n<cbc:IssueDate>2024-03-07</cbc:IssueDate>\n<x>2024-03-05</x>"},
      {"other date untouched", "<cbc:IssueDate>2024-01-01</cbc:IssueDate>\r\n",
       "<cbc:IssueDate>2024-01-01</cbc:IssueDate>\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(salji::rewriteIssueDate(c.doc, QDate(2024, 3, 5), QDate(2024, 3, 7)), c.expected) << c.name;
}

TEST(SendAnswerTest, IssueDateChangeReplacesTheFileOrLeavesIt) {
  QTemporaryDir dir;
  ScriptedPresenter boxes;
  const QString path = dir.path() + "/R.xml";
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<cbc:IssueDate>2024-03-05</cbc:IssueDate>\r\n");
  f.close();
  ASSERT_TRUE(salji::changeIssueDate(path, QDate(2024, 3, 5), QDate(2024, 4, 1)));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "<cbc:IssueDate>2024-04-01</cbc:IssueDate>\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"R.xml"});
  EXPECT_FALSE(salji::changeIssueDate(dir.path() + "/missing.xml", QDate(2024, 3, 5), QDate(2024, 4, 1)));
  EXPECT_EQ(boxes.shown.size(), 1);
}

TEST(EfmAnswerTest, StatusCancelAndAcceptAnswers) {
  using efm::StatusAnswer;
  struct StatusCase {
    const char* answer;
    StatusAnswer::Kind kind;
    const char* word;
  };
  for (const StatusCase& c : {StatusCase{R"({"Status":"Seen"})", StatusAnswer::Found, "Seen"},
                              StatusCase{R"({"Status":"Odd"})", StatusAnswer::Found, "Odd"},
                              StatusCase{R"({"ErrorCode":"E"})", StatusAnswer::NoStatus, ""},
                              StatusCase{"[]", StatusAnswer::NoStatus, ""}, StatusCase{"123", StatusAnswer::NoStatus, ""},
                              StatusCase{"", StatusAnswer::NotJson, ""}, StatusCase{"<x/>", StatusAnswer::NotJson, ""}}) {
    const StatusAnswer s = efm::readStatus(c.answer);
    EXPECT_EQ(s.kind, c.kind) << c.answer;
    EXPECT_EQ(s.word, c.word) << c.answer;
  }
  const QString refused = QString::fromUtf8("Server je vratio grešu:\n");
  struct Case {
    const char* answer;
    QString cancel;
    QString accept;
  };
  const QList<Case> cases = {
      {R"({"ReceiverId":3})", "", refused + R"({"ReceiverId":3})"},
      {R"({"Success":true})", refused + R"({"Success":true})", ""},
      {R"({"Success":false})", refused + R"({"Success":false})", "Nije uspelo, odgovor servera:\n{\"Success\":false}"},
      {R"({"ErrorCode":"E","Message":"m"})", refused + R"({"ErrorCode":"E","Message":"m"})",
       refused + R"({"ErrorCode":"E","Message":"m"})"},
      {"[]", refused + "[]", refused + "[]"},
      {"", kNotJson, kNotJson},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(efm::cancelProblem(c.answer), c.cancel) << c.answer;
    EXPECT_EQ(efm::acceptRejectProblem(c.answer), c.accept) << c.answer;
  }
}

}  // namespace
}  // namespace korvan
