// The manager's downloads against the peer: the ids of a direction (only
// new, or all) and the changes of a period, with what each run asks, fetches,
// shows and remembers.
#include <map>

#include "windows/korvanman_fixture.h"

namespace korvan::test {
namespace {

using Download = KorvanmanTest;

// The ids whose documents were fetched, in order.
QList<qint64> fetched(const Peer& peer) {
  QList<qint64> out;
  for (const PeerRequest& r : peer.requests())
    if (r.path.endsWith("-invoice/xml")) out << r.queryValue("invoiceId").toLongLong();
  return out;
}

QStringList daysAsked(const Peer& peer) {
  QStringList out;
  for (const PeerRequest& r : peer.requests())
    if (r.path.endsWith("-invoice/changes")) out << r.queryValue("date");
  return out;
}

TEST_F(Download, IdsOfTheDirectionOnlyNewOrAll) {
  struct Case {
    const char* name;
    bool onlyNew;
    int yes;  // the answer to the question of "all"
    QByteArray ids;
    QList<qint64> want;
    QStringList shown;
  };
  const QString question = u8s("Ova operacija može da potraje...\nDa li sigurno želite da preuzmete SVE dokumente sa sajta?");
  const QList<Case> cases = {
      {"only new, every id stored: nothing fetched", true, 1, R"({"SalesInvoiceIds":[12,11]})", {}, {}},
      {"only new skips stored and FALS ids", true, 1, R"({"SalesInvoiceIds":[11,14,13]})", {14}, {}},
      {"all, answered No: nothing asked", false, 0, R"({"SalesInvoiceIds":[11]})", {}, {question}},
      {"all fetches every id but FALS and odd ones", false, 1, R"({"SalesInvoiceIds":[11,"x7",13,12]})", {11, 12},
       {question, u8s("Preskočeni su Id-jevi koji nisu celi brojevi: x7")}},
      {"an error object of the system", true, 1, R"({"ErrorCode":"E","Message":"Bad key"})", {},
       {u8s("Greška pri obradi odgovora servera: Ne postoji 'SalesInvoiceIds'!")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dbf::closeAllAreas();
    QDir(GETAPPPATH() + "BAZE").removeRecursively();
    store("I", 11, sentUbl(), "K");
    store("I", 12, sentUbl(), "K");
    EFMDB_PISI_FALS({}, "I", 13);
    for (qint64 id : {11, 12, 14}) peer.document("sales", id, salesEnvelope(id));
    peer.script("POST", "sales-invoice/ids", {PeerAnswer::json(c.ids)});
    MyKORVANMAN* w = open();
    w->aMENJANO = {{11, EFM_IZMENJEN}};
    const int before = int(peer.requests().size());
    boxes.shown.clear();
    boxes.answers = {c.yes};
    c.onlyNew ? w->obPREUZMI_NOVE->click() : w->obPREUZMI_SVE->click();
    const QList<PeerRequest> r = peer.requests().mid(before);
    if (c.yes == 0) {
      EXPECT_TRUE(r.isEmpty());
    } else {
      ASSERT_FALSE(r.isEmpty());
      EXPECT_EQ(r[0].method + " " + r[0].path, "POST /api/publicApi/sales-invoice/ids");
      EXPECT_EQ(r[0].header("ApiKey"), "KLJUC");
    }
    QList<qint64> got;
    for (const PeerRequest& q : r)
      if (q.path.endsWith("/xml")) got << q.queryValue("invoiceId").toLongLong();
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(boxes.texts(), c.shown);
    // A run with ids starts the marks afresh: only what it fetched is coloured.
    if (QString(c.name).startsWith("only new, every"))
      EXPECT_EQ(colour(w, 11), "");
    if (c.want.contains(14)) EXPECT_EQ(colour(w, 14), QColor("yellow").name());
    if (c.want.contains(11)) EXPECT_EQ(colour(w, 11), QColor("salmon").name());
    w->ZAVRSI(false);
  }
}

TEST_F(Download, IncomingIdsGoToTheirOwnDirection) {
  ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "UI", "U", ini));
  peer.script("POST", "purchase-invoice/ids", {PeerAnswer::json(R"({"PurchaseInvoiceIds":[7002]})")});
  peer.document("purchase", 7002, purchaseEnvelope(7002));
  MyKORVANMAN* w = open();
  w->PREUZMI_SVE(true);
  EXPECT_EQ(fetched(peer), QList<qint64>{7002});
  ASSERT_EQ(w->oTABELA->rowCount(), 1);
  EXPECT_EQ(cell(w, 0, "KOMITENT"), u8s("Đorđević d.o.o."));
  EXPECT_EQ(cell(w, 0, "STATUS"), u8s("Viđeno"));
  EXPECT_EQ(colour(w, 7002), QColor("yellow").name());
  EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.texts().join("|").toStdString();
}

TEST_F(Download, PeriodRuns) {
  struct Case {
    const char* name;
    const char* remembered;         // POSL_DAT2 before the run
    std::optional<QPair<QDate, QDate>> period;  // absent: the dates offered
    std::map<int, PeerAnswer> days;  // day of March 2024 -> answer (default: no changes)
    QStringList asked;
    QList<qint64> want;
    const char* after;               // POSL_DAT2 after the run
    QStringList messages;            // the parts the one end message holds ({} : no message)
    bool stopAtFirst = false;        // "Prekid" while the first invoice is refreshed
  };
  const PeerAnswer none = PeerAnswer::json("[]");
  auto ids = [](std::initializer_list<int> list) {
    QByteArray a = "[";
    for (int id : list) a += (a.size() > 1 ? "," : "") + QByteArray("{\"SalesInvoiceId\":") + QByteArray::number(id) + "}";
    return PeerAnswer::json(a + "]");
  };
  const QList<Case> cases = {
      {"empty date asks yesterday only", "", std::nullopt, {}, {"2024-03-09"}, {}, "09.03.2024", {}},
      {"an id of three days is fetched once, a FALS id again", "", std::pair{QDate(2024, 3, 1), QDate(2024, 3, 3)},
       {{1, ids({31})}, {2, ids({31, 33})}, {3, ids({31})}}, {"2024-03-01", "2024-03-02", "2024-03-03"}, {31, 33},
       "03.03.2024", {}},
      {"a silent third day", "28.02.2024", std::pair{QDate(2024, 3, 1), QDate(2024, 3, 4)},
       {{1, ids({41})}, {3, PeerAnswer::silent()}, {4, ids({42})}},
       {"2024-03-01", "2024-03-02", "2024-03-03", "2024-03-04"}, {41, 42}, "28.02.2024",
       {"03.03.2024: Greška pri pozivanju 'curl.exe'!"}},
      {"an error object is no list of changes", "28.02.2024", std::pair{QDate(2024, 3, 1), QDate(2024, 3, 2)},
       {{1, PeerAnswer::errorObject("Unauthorized", "Pogrešan ključ", 401)}, {2, ids({42})}},
       {"2024-03-01", "2024-03-02"}, {42}, "28.02.2024",
       {"01.03.2024: Greška pri obradi odgovora servera: nije dobijena lista promena (Pogrešan ključ)"}},
      {"a stop keeps the date", "28.02.2024", std::pair{QDate(2024, 3, 1), QDate(2024, 3, 1)}, {{1, ids({51, 52})}},
       {"2024-03-01"}, {51}, "28.02.2024", {"Preuzimanje je prekinuto."}, true},
      {"a period that ends before it starts asks nothing", "", std::pair{QDate(2024, 3, 5), QDate(2024, 3, 4)}, {}, {},
       {}, "04.03.2024", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dbf::closeAllAreas();
    QDir(GETAPPPATH() + "BAZE").removeRecursively();
    EFMDB_PISI_FALS({}, "I", 33);
    ASSERT_TRUE(WRITEPRIVATEPROFILESTRING("KorvanMan", "POSL_DAT2", c.remembered, ini));
    for (int d = 1; d <= 9; ++d) {
      const auto it = c.days.find(d);
      peer.changes("sales", QDate(2024, 3, d), {it == c.days.end() ? none : it->second});
    }
    for (qint64 id : {31, 33, 41, 42, 51, 52}) peer.document("sales", id, salesEnvelope(id));
    peer.scriptQuery("GET", "sales-invoice/xml", "invoiceId=51",
                     {PeerAnswer::json("Not found UBL file for invoice Id 51", 404)});
    EFM_SET_LIMITS({.connectSeconds = 3, .totalSeconds = 3, .stallSeconds = 3});
    MyKORVANMAN* w = open();
    const int before = int(peer.requests().size());
    boxes.shown.clear();
    boxes.onShow = [&c](const Box& b) {
      if (c.stopAtFirst && b.text.startsWith("Ne postoji fajl sa Id")) stopTheBox();
      return -1;
    };
    QList<QDate> offered;
    answerDates(c.period ? c.period->first : QDate(), c.period ? c.period->second : QDate(), &offered);
    w->obPREUZMI_PERIOD->click();
    if (!c.period) EXPECT_EQ(offered, (QList<QDate>{QDate(2024, 3, 9), QDate(2024, 3, 9)}));
    QStringList asked;
    QList<qint64> got;
    for (const PeerRequest& r : peer.requests().mid(before)) {
      if (r.path.endsWith("-invoice/changes")) asked << r.queryValue("date");
      if (r.path.endsWith("-invoice/xml")) got << r.queryValue("invoiceId").toLongLong();
    }
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(iniValue("POSL_DAT2"), c.after);
    QStringList ends;
    for (const QString& t : boxes.texts())
      if (t.startsWith("Preuzimanje menjanih nije potpuno")) ends << t;
    if (c.messages.isEmpty()) {
      EXPECT_TRUE(ends.isEmpty()) << boxes.texts().join("|").toStdString();
    } else {
      ASSERT_EQ(ends.size(), 1) << boxes.texts().join("|").toStdString();
      for (const QString& m : c.messages) EXPECT_TRUE(ends[0].contains(m)) << ends[0].toStdString();
      EXPECT_FALSE(boxes.texts().contains(u8s("Greška pri pozivanju 'curl.exe'!"))) << "said twice";
    }
    for (qint64 id : c.want)
      if (id != 51) EXPECT_EQ(colour(w, id), QColor("yellow").name()) << id;
    boxes.onShow = {};
    w->ZAVRSI(false);
  }
  EXPECT_EQ(fetched(peer).count(33), 1);
  EXPECT_FALSE(daysAsked(peer).isEmpty());
}

TEST_F(Download, F2AsTheUserPressesItAndACancelledPeriod) {
  peer.script("POST", "sales-invoice/ids", {PeerAnswer::json(R"({"SalesInvoiceIds":[5]})")});
  peer.document("sales", 5, salesEnvelope(5));
  MyKORVANMAN* w = open();
  w->oTABELA->setFocus();
  QTest::keyClick(w->oTABELA, Qt::Key_F2);
  QTest::qWait(150);
  for (int i = 0; i < 100 && w->oTABELA->rowCount() == 0; ++i) QTest::qWait(20);
  EXPECT_EQ(fetched(peer), QList<qint64>{5});
  EXPECT_EQ(w->oTABELA->rowCount(), 1);
  const int before = int(peer.requests().size());
  whenModal([](QWidget* d) { button(d, "Cancel")->click(); });
  w->PREUZMI_PERIOD();
  EXPECT_EQ(peer.requests().size(), before);
  EXPECT_EQ(iniValue("POSL_DAT2"), "<absent>");
}

TEST_F(Download, WithoutAKeyNothingIsAsked) {
  MyKORVANMAN* w = open("");
  w->PREUZMI_PERIOD();
  w->PREUZMI_SVE(false);
  EXPECT_EQ(boxes.texts(), QStringList(2, u8s("Nije unet 'API ključ' u opciji 'Podaci firme'!")));
  EXPECT_TRUE(peer.requests().isEmpty());
}

}  // namespace
}  // namespace korvan::test
