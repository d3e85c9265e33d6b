#pragma once
// A plain HTTP/1.0 GET over a TCP socket, for machines without curl. The body
// is read to the end of the connection. On the program's main thread the wait
// keeps the event loop running (windows repaint) and drops user input.
// Shows nothing: the failure is in the result, in the register's wording.
#include <QByteArray>
#include <QString>

namespace korvan {

struct HttpGetLimits {
  int connectMs = 4000;
  int totalMs = 30000;  // the whole exchange, connecting included
};

struct HttpGetResult {
  bool ok = false;
  QByteArray body;  // the page, as it came
  QString error;    // when not ok
};

// GET of an "http://host[:port]/path?query" address. Failures:
// "Invalid url <address>" (no http address with a host), "Can't open URL
// <address>" (no connection within the connect limit), "ERROR - file can't
// be retrieved <reason>" for an answer with a status of 400 or more (the
// reason is the status line), an empty body, or an exchange that ends in an
// error or outlasts the whole limit (the reason is the socket's error).
HttpGetResult HTTP_GET(const QString& address, const HttpGetLimits& limits = {});

}  // namespace korvan
