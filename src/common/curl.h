#pragma once
// The one way this program runs curl. A call is written as curl config lines
// into a record file (mode 0600) and curl is started with -K and nothing else,
// so no value taken from data ever stands on a command line or is read as an
// option. Certificates are checked; every call has a connect time-out, an
// overall limit and a low-speed limit (a transfer that stalls ends early while
// a slow but moving one runs to the overall limit).
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvan {

// Limits of one call in seconds.
struct CurlLimits {
  int connectSeconds = 20;
  int totalSeconds = 300;
  int stallSeconds = 30;  // ends when under 1 byte/s for this long
};

// A value as a double-quoted curl config string (backslash and quote escaped).
// Values holding CR, LF or NUL cannot be written: an empty result and ok false.
QString CURL_CFG_QUOTE(const QString& value, bool* ok = nullptr);
// One config line "name = "value"".
QString CURL_CFG_LINE(const QString& name, const QString& value, bool* ok = nullptr);
// The lines every call starts with: quiet but errors shown, no URL globbing,
// the protocols allowed (e.g. "=https"), the limits.
QStringList CURL_BASE_CONFIG(const QString& protocols, const CurlLimits& limits);

// Path of a file in the program's TMP folder.
QString TMP_FN(const QString& name);
// Finds the curl program; the real finder takes "<program folder>/CURL/curl"
// when executable, else a curl on the PATH. Tests may install another (one
// that finds none, to take the way of a machine without curl).
class CurlFinder {
 public:
  virtual ~CurlFinder() = default;
  // The program's path, or empty when there is none.
  virtual QString find() = 0;
};
// The finder in force; setCurlFinder installs f (not owned), nullptr the real one.
CurlFinder& curlFinder();
void setCurlFinder(CurlFinder* f);
// The curl found by the finder in force; empty when there is none.
QString CURL_FIND();
// The curl program to run: CURL_FIND(), else "curl".
QString CURL_PROGRAM();

// A host as it may stand in an address: letters, digits, "." and "-", not
// starting with "." or "-"; with portAllowed also ":" and a port 1-65535.
bool CURL_HOST_OK(const QString& host, bool portAllowed = false);
// "Greška pri pozivanju 'curl.exe'!"
QString CURL_ERR();

// How a curl run ended.
struct CurlExit {
  int code = -1;             // curl's exit code; negative: not started, time-out, crash (platform/process.h)
  bool requestSent = false;  // bytes of the request went out to the server
};

// What a failed call means for a request that changes something on the server.
enum class CurlFailure {
  NotSent,     // no connection, no trusted certificate, or curl did not run
  AnswerLost,  // the request went out, then the answer was lost (time-out, dropped connection)
};
CurlFailure CURL_FAILURE(const CurlExit& exit);

// Makes TMP, removes the answer file (an earlier answer never passes for this
// call's), writes the config lines into the record file and runs curl with -K
// on it, with a backstop above curl's own limits. true exactly when curl
// ended with 0. Shows nothing. exit, when given, gets how curl ended (the
// config then also asks curl for the request's size, on standard output:
// the lines must send the answer to a file).
bool CURL_RUN(const QString& recordPath, const QStringList& configLines, const QString& answerPath,
              const CurlLimits& limits, CurlExit* exit = nullptr);

}  // namespace korvan
