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

bool get(const QTemporaryDir& app, const CurlLimits& limits) {
  const QString answer = app.path() + QStringLiteral("/TMP/odg.dat");
  QStringList lines = CURL_BASE_CONFIG(QStringLiteral("=https"), limits);
  lines << CURL_CFG_LINE(QStringLiteral("url"), QStringLiteral("https://") + kHost + QStringLiteral("/s"))
        << CURL_CFG_LINE(QStringLiteral("output"), answer);
  return CURL_RUN(app.path() + QStringLiteral("/TMP/CURL.CFG"), lines, answer, limits);
}

TEST(CurlRunTest, StalledServerEndsOnTheLowSpeedLimitAndSlowOneCompletes) {
  QTemporaryDir app;
  SET_APPPATH(app.path());
  test::Peer peer({kHost});
  ASSERT_TRUE(peer.start()) << peer.error().toStdString();
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

}  // namespace
}  // namespace korvan
