#include "support/peer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QUrlQuery>

#include "platform/savefile.h"
#include "support/pyserver.h"

namespace korvan::test {

extern const char* const kPeerScript;

namespace {

bool runTool(const QString& program, const QStringList& args, const QString& dir, QString* err) {
  QProcess p;
  p.setWorkingDirectory(dir);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    *err = program + QStringLiteral(" failed: ") + QString::fromUtf8(p.readAll());
    return false;
  }
  return true;
}

// Whole files only: the peer reads them while the tests write them.
bool writeAll(const QString& path, const QByteArray& bytes) { return platform::saveFileAtomically(path, bytes); }

QString quoted(const QString& v) {
  QString s = v;
  s.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
  return u'"' + s + u'"';
}

}  // namespace

QStringList defaultPeerHosts() {
  return {QStringLiteral("efaktura.mfin.gov.rs"), QStringLiteral("demoefaktura.mfin.gov.rs")};
}

QStringList registerPeerHosts() { return {QStringLiteral("www.nbs.rs")}; }

PeerAnswer PeerAnswer::html(const QByteArray& body, int status) {
  PeerAnswer a = nonJson(body, status);
  a.type = QStringLiteral("text/html; charset=utf-8");
  return a;
}

PeerAnswer PeerAnswer::json(const QByteArray& body, int status) {
  PeerAnswer a;
  a.body = body;
  a.status = status;
  return a;
}

PeerAnswer PeerAnswer::errorObject(const QString& code, const QString& message, int status) {
  QJsonObject o;
  o.insert(QStringLiteral("ErrorCode"), code);
  o.insert(QStringLiteral("Message"), message);
  return json(QJsonDocument(o).toJson(QJsonDocument::Compact), status);
}

PeerAnswer PeerAnswer::nonJson(const QByteArray& body, int status) {
  PeerAnswer a;
  a.body = body;
  a.status = status;
  a.type = QStringLiteral("text/html");
  return a;
}

PeerAnswer PeerAnswer::slow(int delayMs, const QByteArray& body) {
  PeerAnswer a = json(body);
  a.delayMs = delayMs;
  return a;
}

PeerAnswer PeerAnswer::silent() {
  PeerAnswer a;
  a.never = true;
  return a;
}

PeerAnswer PeerAnswer::dropped() {
  PeerAnswer a;
  a.drop = true;
  return a;
}

QString PeerRequest::header(const QString& name) const {
  for (const auto& [k, v] : headers)
    if (k.compare(name, Qt::CaseInsensitive) == 0) return v;
  return QString();
}

QString PeerRequest::queryValue(const QString& key) const {
  return QUrlQuery(query).queryItemValue(key, QUrl::FullyDecoded);
}

QList<FormPart> parseMultipart(const PeerRequest& r) {
  QList<FormPart> parts;
  const QString type = r.header(QStringLiteral("Content-Type"));
  const int at = type.indexOf(QStringLiteral("boundary="));
  if (at < 0) return parts;
  QByteArray boundary = type.mid(at + 9).toUtf8();
  if (boundary.startsWith('"')) boundary = boundary.mid(1, boundary.size() - 2);
  const QByteArray sep = "--" + boundary;
  qsizetype pos = r.body.indexOf(sep);
  while (pos >= 0) {
    pos += sep.size();
    if (r.body.mid(pos, 2) == "--") break;
    pos += 2;  // CR LF after the boundary
    const qsizetype headEnd = r.body.indexOf("\r\n\r\n", pos);
    if (headEnd < 0) break;
    const qsizetype next = r.body.indexOf("\r\n" + sep, headEnd + 4);
    if (next < 0) break;
    FormPart part;
    for (const QByteArray& line : r.body.mid(pos, headEnd - pos).split('\n')) {
      const QString l = QString::fromUtf8(line).trimmed();
      if (l.startsWith(QStringLiteral("Content-Type:"), Qt::CaseInsensitive)) {
        part.type = l.mid(13).trimmed();
      } else if (l.startsWith(QStringLiteral("Content-Disposition:"), Qt::CaseInsensitive)) {
        for (const QString& item : l.split(u';')) {
          const QString t = item.trimmed();
          auto value = [&t](int skip) {
            QString v = t.mid(skip);
            if (v.startsWith(u'"')) v = v.mid(1, v.size() - 2);
            return v;
          };
          if (t.startsWith(QStringLiteral("name="))) part.name = value(5);
          else if (t.startsWith(QStringLiteral("filename="))) part.filename = value(9);
        }
      }
    }
    part.data = r.body.mid(headEnd + 4, next - headEnd - 4);
    parts << part;
    pos = next + 2;
  }
  return parts;
}

Peer::Peer(QStringList hosts, PeerScheme scheme) : hosts_(std::move(hosts)), scheme_(scheme) {}

Peer::~Peer() {
  stopServer();
  if (!pointedCurl_) return;
  if (hadCurlHome_) qputenv("CURL_HOME", oldCurlHome_);
  else qunsetenv("CURL_HOME");
}

QString Peer::folder() const { return dir_.path(); }

bool Peer::makeCertificates() {
  const QString d = dir_.path();
  QString sans;
  for (const QString& h : hosts_) sans += QStringLiteral("DNS:") + h + u',';
  sans += QStringLiteral("DNS:localhost,IP:127.0.0.1");
  if (!writeAll(d + QStringLiteral("/ext.cnf"),
                ("subjectAltName=" + sans + "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n").toUtf8()))
    return false;
  const QStringList ec = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                          QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
  return runTool(QStringLiteral("openssl"),
                 QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec +
                     QStringList{QStringLiteral("-keyout"), QStringLiteral("ca.key"), QStringLiteral("-out"),
                                 QStringLiteral("ca.pem"), QStringLiteral("-days"), QStringLiteral("2"),
                                 QStringLiteral("-subj"), QStringLiteral("/CN=Korvan test CA"),
                                 QStringLiteral("-addext"), QStringLiteral("basicConstraints=critical,CA:TRUE"),
                                 QStringLiteral("-addext"), QStringLiteral("keyUsage=critical,keyCertSign,cRLSign")},
                 d, &error_) &&
         runTool(QStringLiteral("openssl"),
                 QStringList{QStringLiteral("req")} + ec +
                     QStringList{QStringLiteral("-keyout"), QStringLiteral("server.key"), QStringLiteral("-out"),
                                 QStringLiteral("server.csr"), QStringLiteral("-subj"), QStringLiteral("/CN=peer")},
                 d, &error_) &&
         runTool(QStringLiteral("openssl"),
                 {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), QStringLiteral("server.csr"),
                  QStringLiteral("-CA"), QStringLiteral("ca.pem"), QStringLiteral("-CAkey"), QStringLiteral("ca.key"),
                  QStringLiteral("-CAcreateserial"), QStringLiteral("-out"), QStringLiteral("server.pem"),
                  QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-extfile"), QStringLiteral("ext.cnf")},
                 d, &error_);
}

bool Peer::writeCurlrc(const QString& folder, const QStringList& hosts, int port, const QString& cacert) {
  QByteArray rc;
  if (!cacert.isEmpty()) rc += "cacert = " + quoted(cacert).toUtf8() + "\n";
  for (const QString& h : hosts)
    rc += "connect-to = " + quoted(h + QStringLiteral(":443:127.0.0.1:") + QString::number(port)).toUtf8() + "\n";
  return writeAll(folder + QStringLiteral("/.curlrc"), rc);
}

bool Peer::start() {
  if (!dir_.isValid()) return (error_ = QStringLiteral("no temporary folder")), false;
  const bool https = scheme_ == PeerScheme::Https;
  if (https && !makeCertificates()) return false;
  const QString d = dir_.path();
  if (!writeAll(d + QStringLiteral("/peer.py"), kPeerScript)) return (error_ = QStringLiteral("peer.py")), false;
  saveCases();
  port_ = startPythonServer(
      proc_, {d + QStringLiteral("/peer.py"), d, https ? QStringLiteral("https") : QStringLiteral("http")}, d, &error_);
  if (!port_) return false;
  if (!https) return true;
  if (!writeCurlrc(d, hosts_, port_, d + QStringLiteral("/ca.pem"))) return (error_ = QStringLiteral(".curlrc")), false;
  hadCurlHome_ = qEnvironmentVariableIsSet("CURL_HOME");
  oldCurlHome_ = qgetenv("CURL_HOME");
  qputenv("CURL_HOME", QFile::encodeName(d));
  pointedCurl_ = true;
  return true;
}

void Peer::stopServer() { stopPythonServer(proc_); }

void Peer::script(const QString& method, const QString& apiPath, const QList<PeerAnswer>& answers) {
  scriptPath(method, QStringLiteral("/api/publicApi/") + apiPath, answers);
}

void Peer::scriptPath(const QString& method, const QString& path, const QList<PeerAnswer>& answers) {
  const QString key = method + u' ' + path;
  bool found = false;
  for (auto& c : cases_)
    if (c.first == key) c.second = answers, found = true;
  if (!found) cases_.append({key, answers});
  saveCases();
}

void Peer::scriptQuery(const QString& method, const QString& apiPath, const QString& query,
                       const QList<PeerAnswer>& answers) {
  scriptPath(method, QStringLiteral("/api/publicApi/") + apiPath + u'?' + query, answers);
}

void Peer::document(const QString& word, qint64 id, const QByteArray& body) {
  PeerAnswer a = PeerAnswer::json(body);
  a.type = QStringLiteral("application/xml");
  scriptQuery(QStringLiteral("GET"), word + QStringLiteral("-invoice/xml"),
              QStringLiteral("invoiceId=") + QString::number(id), {a});
}

void Peer::changes(const QString& word, const QDate& day, const QList<PeerAnswer>& answers) {
  scriptQuery(QStringLiteral("POST"), word + QStringLiteral("-invoice/changes"),
              QStringLiteral("date=") + day.toString(QStringLiteral("yyyy-MM-dd")), answers);
}

void Peer::saveCases() {
  QJsonObject all;
  for (const auto& [key, answers] : cases_) {
    QJsonArray list;
    for (const PeerAnswer& a : answers) {
      QJsonObject o;
      o.insert(QStringLiteral("status"), a.status);
      o.insert(QStringLiteral("body_b64"), QString::fromLatin1(a.body.toBase64()));
      o.insert(QStringLiteral("type"), a.type);
      o.insert(QStringLiteral("delay_ms"), a.delayMs);
      o.insert(QStringLiteral("never"), a.never);
      o.insert(QStringLiteral("drop"), a.drop);
      list.append(o);
    }
    all.insert(key, list);
  }
  writeAll(dir_.path() + QStringLiteral("/cases.json"), QJsonDocument(all).toJson());
}

QList<PeerRequest> Peer::requests() const {
  QList<PeerRequest> out;
  QFile f(dir_.path() + QStringLiteral("/log.jsonl"));
  if (!f.open(QIODevice::ReadOnly)) return out;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.trimmed().isEmpty()) continue;
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    PeerRequest r;
    r.method = o.value(QStringLiteral("method")).toString();
    r.path = o.value(QStringLiteral("path")).toString();
    r.query = o.value(QStringLiteral("query")).toString();
    for (const QJsonValue& h : o.value(QStringLiteral("headers")).toArray())
      r.headers.append({h.toArray().at(0).toString(), h.toArray().at(1).toString()});
    r.body = QByteArray::fromBase64(o.value(QStringLiteral("body")).toString().toLatin1());
    out << r;
  }
  return out;
}

}  // namespace korvan::test
