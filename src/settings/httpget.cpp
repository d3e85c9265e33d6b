#include "settings/httpget.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <functional>

#include "platform/inputblock.h"

namespace korvan {
namespace {

const QString kNotRetrieved = QStringLiteral("ERROR - file can't be retrieved ");

bool onMainThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// Waits until done() holds or the deadline passes; true when done.
bool waitFor(QTcpSocket& s, const std::function<bool()>& done, const QDeadlineTimer& deadline) {
  if (!onMainThread()) {
    while (!done() && !deadline.hasExpired()) {
      const int left = int(std::max<qint64>(1, deadline.remainingTime()));
      if (s.state() == QAbstractSocket::ConnectedState) s.waitForReadyRead(left);
      else if (s.state() == QAbstractSocket::UnconnectedState) break;
      else s.waitForConnected(left);
    }
    return done();
  }
  platform::InputBlocker blocker;
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QEventLoop loop;
    QObject::connect(&s, &QAbstractSocket::stateChanged, &loop, &QEventLoop::quit);
    QObject::connect(&s, &QIODevice::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(&s, &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(int(std::max<qint64>(1, deadline.remainingTime())));
    if (!done()) loop.exec();
  }
  return true;
}

}  // namespace

HttpGetResult HTTP_GET(const QString& address, const HttpGetLimits& limits) {
  HttpGetResult r;
  const QUrl url(address, QUrl::StrictMode);
  if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty()) {
    r.error = QStringLiteral("Invalid url ") + address;
    return r;
  }
  const QDeadlineTimer whole(limits.totalMs);
  QTcpSocket s;
  s.connectToHost(url.host(), quint16(url.port(80)));
  const QDeadlineTimer connectBy(std::min<qint64>(limits.connectMs, whole.remainingTime()));
  const bool connected = waitFor(
      s, [&s] { return s.state() == QAbstractSocket::ConnectedState || s.state() == QAbstractSocket::UnconnectedState; },
      connectBy);
  if (!connected || s.state() != QAbstractSocket::ConnectedState) {
    s.abort();
    r.error = QStringLiteral("Can't open URL ") + address;
    return r;
  }
  QString target = url.path(QUrl::FullyEncoded);
  if (target.isEmpty()) target = QStringLiteral("/");
  if (url.hasQuery()) target += u'?' + url.query(QUrl::FullyEncoded);
  const QString hostHeader = url.port() > 0 ? url.host() + u':' + QString::number(url.port()) : url.host();
  s.write(("GET " + target + " HTTP/1.0\r\nHost: " + hostHeader + "\r\nConnection: close\r\n\r\n").toLatin1());

  QByteArray answer;
  const bool ended = waitFor(
      s,
      [&s, &answer] {
        answer += s.readAll();
        return s.state() == QAbstractSocket::UnconnectedState;
      },
      whole);
  answer += s.readAll();
  if (!ended) {
    s.abort();
    r.error = kNotRetrieved + QStringLiteral("Socket operation timed out");
    return r;
  }
  // An answer without a status line (HTTP/0.9) is all body.
  if (answer.startsWith("HTTP/")) {
    const qsizetype headEnd = answer.indexOf("\r\n\r\n");
    const qsizetype lineEnd = answer.indexOf("\r\n");
    const QByteArray statusLine = answer.left(lineEnd >= 0 ? lineEnd : answer.size());
    if (statusLine.split(' ').value(1).toInt() >= 400) {
      r.error = kNotRetrieved + QString::fromLatin1(statusLine);
      return r;
    }
    r.body = headEnd >= 0 ? answer.mid(headEnd + 4) : QByteArray();
  } else {
    r.body = answer;
  }
  if (r.body.isEmpty()) {
    r.error = kNotRetrieved + s.errorString();
    return r;
  }
  r.ok = true;
  return r;
}

}  // namespace korvan
