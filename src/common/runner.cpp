#include "common/runner.h"

#include <QFile>

#include <chrono>
#include <cmath>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/process.h"

namespace korvan {
namespace {

bool writeRecordFile(const QString& path, const QStringList& lines) {
  QByteArray content;
  for (const QString& l : lines) content += l.toUtf8() + "\r\n";
  const QByteArray native = QFile::encodeName(path);
  const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, 0600) == 0;
  const char* p = content.constData();
  qsizetype left = content.size();
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else { p += n; left -= n; }
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

int WAITRUN(const QString& program, const QStringList& arguments, int timeoutMs) {
  platform::ProcessRequest r;
  r.program = program;
  r.arguments = arguments;
  r.timeoutMs = timeoutMs;
  return platform::runProcess(r).exitCode;
}

bool IZVRSI_BAT(const QString& recordPath, const QStringList& recordLines, const QString& program,
                const QStringList& arguments, int timeoutMs, platform::ProcessResult* result) {
  if (result) *result = {};
  if (!recordPath.isEmpty() && !writeRecordFile(recordPath, recordLines)) return false;
  if (!result) return WAITRUN(program, arguments, timeoutMs) == 0;
  platform::ProcessRequest r;
  r.program = program;
  r.arguments = arguments;
  r.timeoutMs = timeoutMs;
  r.captureOutput = true;
  *result = platform::runProcess(r);
  return result->exitCode == 0;
}

void DELAY(double seconds) {
  if (!(seconds > 0)) return;
  using namespace std::chrono;
  const auto wait = duration<double>(std::min(seconds, 1e9));
  const auto target = steady_clock::now() + duration_cast<steady_clock::duration>(wait);
  while (steady_clock::now() < target) std::this_thread::sleep_until(target);
}

}  // namespace korvan
