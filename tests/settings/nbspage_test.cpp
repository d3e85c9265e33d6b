// Reading the register's result page: small synthetic pages in both modes.
#include <QStringList>
#include <gtest/gtest.h>

#include "settings/nbspage.h"

using namespace korvan;

namespace {

struct Block {
  QString name, address, place, account, number, date;
};

// One account block of the page, each value at its label's offset.
QStringList blockLines(const Block& b) {
  QStringList l;
  l << "<tr><td><a href=\"#5\" class=\"formaa\">" << "  " + b.name + "  " << "</a></td>";
  l << "<td class=\"l\">>Adresa:</td>" << "<td>" << b.address;
  l << "<td>>Ra&#269;un:</td>" << "<td>" << "<b>" << b.account;
  l << "<td>>Mesto:</td>" << "<td>" << b.place;
  l << "<td>>Mati&#269;ni broj:</td>";
  for (int i = 0; i < 11; ++i) l << "<td></td>";
  l << b.number;
  l << "<td>>Datum otvaranja:</td>" << "<td>" << "<i>" << b.date;
  return l;
}

QString page(const QList<Block>& blocks, const QString& end = QStringLiteral("\r\n"),
             const QStringList& tail = {}) {
  QStringList all = {"<html>", "<body>"};
  for (const Block& b : blocks) all << blockLines(b);
  all << tail << "</body></html>";
  return all.join(end);
}

const Block kJan{"Alfa doo", "Ulica 1", "Beograd", "160-111-11", "11111111", "Mon Jan 05 00:00:00 CET 2015"};
const Block kAvg{"Beta doo", "Ulica 2", "Novi Sad", "160-222-22", "22222222", "Tue Avg 10 00:00:00 CET 2021"};
const Block kAug{"Gama doo", "Ulica 3", "Subotica", "160-333-33", "33333333", "Wed Aug 01 00:00:00 CET 2023"};

TEST(NbsPage, ReadsPagesInBothModes) {
  Block covid = kAug;
  covid.name = "COVID19 racun";
  Block tie = kJan;
  tie.account = "160-444-44";
  tie.name = "Delta doo";
  const Block nothing{"", "", "", "160-555-55", "", "Sun Jan 01 00:00:00 CET 2000"};
  struct Case {
    const char* name;
    QString page;
    bool sorted;
    NbsCompany expected;
  };
  const QList<Case> cases = {
      {"sorted: accounts newest first (Aug is no month: oldest), values of the oldest block",
       page({kJan, kAvg, kAug}), true,
       {"Gama doo", "Ulica 3", "Subotica", "160-222-22\n160-111-11\n160-333-33", "33333333"}},
      {"sorted: a COVID19 name in the oldest block leaves the name of the next oldest",
       page({kJan, kAvg, covid}), true,
       {"Alfa doo", "Ulica 3", "Subotica", "160-222-22\n160-111-11\n160-333-33", "33333333"}},
      {"sorted: a block without values never blanks the others", page({kAvg, kJan, nothing}), true,
       {"Alfa doo", "Ulica 1", "Beograd", "160-222-22\n160-111-11\n160-555-55", "11111111"}},
      {"sorted: equal dates keep page order", page({tie, kJan}), true,
       {"Alfa doo", "Ulica 1", "Beograd", "160-444-44\n160-111-11", "11111111"}},
      {"unsorted: first values of the page, every account in page order", page({kJan, kAvg, covid}), false,
       {"Alfa doo", "Ulica 1", "Beograd", "160-111-11\n160-222-22\n160-333-33", "11111111"}},
      {"unsorted: a COVID19 name lets the next block's name in", page({covid, kAvg}), false,
       {"Beta doo", "Ulica 3", "Subotica", "160-333-33\n160-222-22", "33333333"}},
      {"a page of bare LF lines reads like CR LF", page({kJan, kAvg}, "\n"), true,
       {"Alfa doo", "Ulica 1", "Beograd", "160-222-22\n160-111-11", "11111111"}},
      {"sorted: values after the last date belong to no block", page({kJan}, "\r\n", blockLines(kAvg).mid(0, 9)),
       true, {"Alfa doo", "Ulica 1", "Beograd", "160-111-11", "11111111"}},
      {"offsets past the end take nothing, a date label at the end still closes its block",
       QStringList({"<a href=\"#5\" formaa>", "Kraj doo", ">Ra&#269;un:</td>", "", "", "160-9-9",
                    ">Mati&#269;ni broj:", "1", ">Datum otvaranja:", "x"})
           .join("\r\n"),
       true, {"Kraj doo", "", "", "160-9-9", ""}},
      {"the name label counts only with formaa", "<a href=\"#5\">\r\nNije ime\r\n", false, {}},
      {"character references decoded; labels matched raw",
       QStringList({"<a href=\"#5\" class=\"formaa\">", "&#262;IRILICA &amp; SIN &quot;X&quot; &#x106; &amp;#262;",
                    ">Mesto:", "", "&#1041;&#1077;&#1086;&#1075;&#1088;&#1072;&#1076; &gt; &lt;"})
           .join("\r\n"),
       false,
       {QString::fromUtf8("ĆIRILICA & SIN \"X\" Ć &#262;"), "", QString::fromUtf8("Београд &gt; &lt;"), "", ""}},
      {"an empty page", "", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NbsCompany got = NBS_CITAJ_STRANU(c.page, c.sorted);
    EXPECT_EQ(got.name, c.expected.name);
    EXPECT_EQ(got.address, c.expected.address);
    EXPECT_EQ(got.place, c.expected.place);
    EXPECT_EQ(got.accounts, c.expected.accounts);
    EXPECT_EQ(got.registrationNumber, c.expected.registrationNumber);
  }
}

TEST(NbsPage, OpeningDates) {
  struct Case {
    const char* text;
    QDate date;
  };
  const QList<Case> cases = {
      {"Sun Jan 02 00:00:00 CET 2005", QDate(2005, 1, 2)},
      {"Mon  avg 5 10:00:00 CEST   2021", QDate(2021, 8, 5)},  // runs of blanks, any letter case, day padded
      {"x Maj 31 x x 2010", QDate(2010, 5, 31)},
      {"x Okt 1 x x 2010", QDate(2010, 10, 1)},
      {"x Oct 1 x x 2010", QDate(2010, 10, 1)},
      {"Wed Aug 01 00:00:00 CET 2023", QDate()},  // August only as "Avg"
      {"Feb 02 00:00:00 CET 2005", QDate()},      // five words
      {"Sun Jan 02 00:00:00 CET 2005 x", QDate()},
      {"x Feb 30 x x 2021", QDate()},
      {"x Feb 123 x x 2021", QDate()},
      {"x Feb 1 x x 21", QDate()},
      {"", QDate()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NBS_DATUM(QString::fromUtf8(c.text)), c.date);
  }
}

TEST(NbsPage, DecodingLeavesWhatIsNoReference) {
  EXPECT_EQ(NBS_DEKODIRAJ("A & B &#; &#xZZ; &#0; &#55296; &nbsp; &amp"), "A & B &#; &#xZZ; &#0; &#55296; &nbsp; &amp");
  EXPECT_EQ(NBS_DEKODIRAJ("&#x1F600;&#269;"), QString::fromUtf8("😀č"));
}

}  // namespace
