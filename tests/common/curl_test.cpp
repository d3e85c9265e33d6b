// The curl runner against a local HTTPS server: a stalled transfer ends on the
// low-speed limit long before the overall limit.
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/apppath.h"
#include "common/curl.h"
#include "support/peer.h"

namespace korvan {
namespace {

const QString kHost = QStringLiteral("stall.example.rs");

bool get(const QTemporaryDir& app, const CurlLimits& limits, CurlExit* exit = nullptr) {
  const QString answer = app.path() + QStringLiteral("/TMP/odg.dat");
  QStringList lines = CURL_BASE_CONFIG(QStringLiteral("=https"), limits);
  lines << CURL_CFG_LINE(QStringLiteral("url"), QStringLiteral("https://") + kHost + QStringLiteral("/s"))
        << CURL_CFG_LINE(QStringLiteral("output"), answer);
  return CURL_RUN(app.path() + QStringLiteral("/TMP/CURL.CFG"), lines, answer, limits, exit);
}

// A program folder and a started peer for the host.
class CurlRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SET_APPPATH(app.path());
    ASSERT_TRUE(peer.start()) << peer.error().toStdString();
  }
  QTemporaryDir app;
  test::Peer peer{{kHost}};
};

TEST_F(CurlRunTest, StalledServerEndsOnTheLowSpeedLimitAndSlowOneCompletes) {
  const CurlLimits limits{.connectSeconds = 5, .totalSeconds = 120, .stallSeconds = 2};

  peer.scriptPath("GET", "/s", {test::PeerAnswer::silent()});
  QElapsedTimer t;
  t.start();
  EXPECT_FALSE(get(app, limits));
  // Ended by the stall limit, not by the two-minute overall one.
  EXPECT_LT(t.elapsed(), 60000);

  // An answer that comes within the stall limit is not cut.
  peer.scriptPath("GET", "/s", {test::PeerAnswer::slow(1000, "done")});
  EXPECT_TRUE(get(app, limits));
  QFile f(app.path() + QStringLiteral("/TMP/odg.dat"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("done"));
}

// Only a request that went out can have its answer lost; a connection that
// never came about sent nothing.
TEST(CurlFailureTest, ANotSentRequestIsToldFromALostAnswer) {
  struct Case {
    int code;
    bool requestSent;
    CurlFailure failure;
  };
  const QList<Case> cases = {
      {6, false, CurlFailure::NotSent},     {7, false, CurlFailure::NotSent},   {35, false, CurlFailure::NotSent},
      {60, false, CurlFailure::NotSent},    {28, false, CurlFailure::NotSent},  {28, true, CurlFailure::AnswerLost},
      {52, true, CurlFailure::AnswerLost},  {56, true, CurlFailure::AnswerLost}, {56, false, CurlFailure::NotSent},
      {-2, true, CurlFailure::NotSent},     {-1, false, CurlFailure::NotSent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(CURL_FAILURE({.code = c.code, .requestSent = c.requestSent}), c.failure);
  }
}

// curl's own account of the run: its exit code and whether the request left.
TEST_F(CurlRunTest, TheRunTellsCurlsExitAndWhetherTheRequestWentOut) {
  const CurlLimits limits{.connectSeconds = 5, .totalSeconds = 20, .stallSeconds = 2};

  CurlExit exit;
  peer.scriptPath("GET", "/s", {test::PeerAnswer::slow(0, "done")});
  EXPECT_TRUE(get(app, limits, &exit));
  EXPECT_EQ(exit.code, 0);
  EXPECT_TRUE(exit.requestSent);
  QFile f(app.path() + QStringLiteral("/TMP/odg.dat"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("done"));  // the size report stays out of the answer

  peer.scriptPath("GET", "/s", {test::PeerAnswer::dropped()});
  EXPECT_FALSE(get(app, limits, &exit));
  EXPECT_EQ(CURL_FAILURE(exit), CurlFailure::AnswerLost) << exit.code;
  EXPECT_TRUE(exit.requestSent);

  peer.stopServer();  // refused
  EXPECT_FALSE(get(app, limits, &exit));
  EXPECT_EQ(exit.code, 7);
  EXPECT_FALSE(exit.requestSent);
}

}  // namespace
}  // namespace korvan
