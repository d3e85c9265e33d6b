#pragma once
// An HTTPS fake of the e-invoice API (and of any other page: the register's
// result page among them) on 127.0.0.1, in its own process (/usr/bin/python3);
// or, made with PeerScheme::Http, the same server over plain HTTP, without
// certificates and without touching the curl configuration. Its CA and certificate are made with openssl when it
// starts; curl is pointed at it through CURL_HOME/.curlrc (cacert, connect-to),
// which start() sets and stop() restores. Every request is logged; answers
// come from scripted cases per method and path, else from defaults that
// serve every call of the API.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace korvan::test {

// The production host and the test host of the e-invoice system.
QStringList defaultPeerHosts();
// The National Bank register's host and the path of its result page.
QStringList registerPeerHosts();
inline constexpr const char* kRegisterPath = "/rir_pn/pn_rir.html.jsp";

enum class PeerScheme { Https, Http };

struct PeerAnswer {
  int status = 200;
  QByteArray body;
  QString type = QStringLiteral("application/json");
  int delayMs = 0;      // slow: wait before answering
  bool never = false;   // read the request and never answer
  bool drop = false;    // read the request and close the connection unanswered

  static PeerAnswer json(const QByteArray& body, int status = 200);
  static PeerAnswer errorObject(const QString& code, const QString& message, int status = 400);
  static PeerAnswer nonJson(const QByteArray& body = "<html>Bad gateway</html>", int status = 502);
  static PeerAnswer slow(int delayMs, const QByteArray& body);
  static PeerAnswer silent();
  static PeerAnswer dropped();
  static PeerAnswer html(const QByteArray& body, int status = 200);
};

struct PeerRequest {
  QString method;
  QString path;   // without the query
  QString query;  // as sent, without "?"
  QList<QPair<QString, QString>> headers;
  QByteArray body;
  // The first header of that name (letter case ignored); empty when none.
  QString header(const QString& name) const;
  // A value of the query ("" when missing).
  QString queryValue(const QString& key) const;
};

struct FormPart {
  QString name;
  QString filename;
  QString type;
  QByteArray data;
};
// The parts of a multipart/form-data body.
QList<FormPart> parseMultipart(const PeerRequest& r);

class Peer {
 public:
  explicit Peer(QStringList hosts = defaultPeerHosts(), PeerScheme scheme = PeerScheme::Https);
  ~Peer();
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  // Makes the certificates, starts the server, points curl at it (HTTPS;
  // over HTTP only the server is started). false with
  // error() set when any step fails.
  bool start();
  // Ends the server; the curl configuration stays until the Peer goes.
  void stopServer();
  QString error() const { return error_; }
  int port() const { return port_; }
  QString folder() const;

  // Answers for "METHOD /api/publicApi/<path>", served in order; the last repeats.
  void script(const QString& method, const QString& apiPath, const QList<PeerAnswer>& answers);
  // Answers for "METHOD <path>", any path of the server (without the query).
  void scriptPath(const QString& method, const QString& path, const QList<PeerAnswer>& answers);
  // Answers for "METHOD /api/publicApi/<path>?<query>" with exactly that query;
  // they win over the path's own.
  void scriptQuery(const QString& method, const QString& apiPath, const QString& query,
                   const QList<PeerAnswer>& answers);
  // The document of one invoice ("sales" or "purchase" direction word).
  void document(const QString& word, qint64 id, const QByteArray& body);
  // The changes answer of one day.
  void changes(const QString& word, const QDate& day, const QList<PeerAnswer>& answers);
  // Every request so far, in order of arrival.
  QList<PeerRequest> requests() const;

  // Writes a .curlrc into folder that sends the hosts to 127.0.0.1:port and
  // trusts cacert (may be empty).
  static bool writeCurlrc(const QString& folder, const QStringList& hosts, int port,
                          const QString& cacert);

 private:
  bool makeCertificates();
  void saveCases();

  QStringList hosts_;
  PeerScheme scheme_;
  QTemporaryDir dir_;
  std::unique_ptr<QProcess> proc_;
  QString error_;
  int port_ = 0;
  QByteArray oldCurlHome_;
  bool hadCurlHome_ = false;
  bool pointedCurl_ = false;
  QList<QPair<QString, QList<PeerAnswer>>> cases_;
};

}  // namespace korvan::test
