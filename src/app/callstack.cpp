#include "app/callstack.h"

#include <algorithm>

#include <QMap>
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

namespace korvan {
namespace {

struct Level {
  QString name;
  int line = 0;
};

QString demangle(const char* s) {
  if (!s || !*s) return {};
  int status = 0;
  char* d = abi::__cxa_demangle(s, nullptr, nullptr, &status);
  QString r = QString::fromLatin1(status == 0 && d ? d : s);
  std::free(d);
  return r;
}

// Runs "addr2line -a -i -C -f -e object addresses..." with a time limit;
// its output: per address a line with the address, then (function,
// file:line) pairs from the innermost inlined function outward.
QStringList addr2line(const QString& object, const QStringList& addresses) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return {};
  std::vector<std::string> args = {"addr2line", "-a", "-i", "-C", "-f", "-e", object.toStdString()};
  for (const QString& a : addresses) args.push_back(a.toStdString());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, out[1], 1);
  posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "addr2line", &fa, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  ::close(out[1]);
  QByteArray text;
  if (rc == 0) {
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
      pollfd p{out[0], POLLIN, 0};
      if (::poll(&p, 1, 200) > 0) {
        char buf[4096];
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, int(n));
      }
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      if (now.tv_sec - start.tv_sec > 5) {
        ::kill(pid, SIGKILL);
        break;
      }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
  ::close(out[0]);
  return QString::fromLocal8Bit(text).split('\n');
}

}  // namespace

std::vector<void*> captureStack() {
  void* buf[256];
  const int n = ::backtrace(buf, 256);
  return std::vector<void*>(buf, buf + n);
}

QString levelName(const QString& demangled) {
  QString n = demangled.trimmed();
  // Drop the parameter list (and a trailing " const").
  if (n.endsWith(" const")) n.chop(6);
  if (n.endsWith(')')) {
    int depth = 0;
    for (int i = n.size() - 1; i >= 0; --i) {
      if (n[i] == ')') ++depth;
      else if (n[i] == '(' && --depth == 0) {
        n.truncate(i);
        break;
      }
    }
  }
  n.remove("(anonymous namespace)::");
  if (n.startsWith("korvan::")) n.remove(0, 8);
  // A method as class name, colon, method name.
  int depth = 0;
  for (int i = n.size() - 1; i > 0; --i) {
    if (n[i] == '>') ++depth;
    else if (n[i] == '<') --depth;
    else if (depth == 0 && n[i] == ':' && n[i - 1] == ':') {
      n.remove(i, 1);
      break;
    }
  }
  return n.isEmpty() ? QStringLiteral("???") : n;
}

QStringList calledFromLines(const std::vector<void*>& frames, const QStringList& skipPrefixes) {
  // Per frame its levels (inlined functions first); by default the name dladdr knows.
  QList<QList<Level>> levels(int(frames.size()));
  QMap<QString, QList<QPair<int, quintptr>>> byObject;
  for (int i = 0; i < int(frames.size()); ++i) {
    Dl_info info{};
    // A return address points after the call: look up the call itself.
    const quintptr pc = quintptr(frames[size_t(i)]) - 1;
    if (::dladdr(reinterpret_cast<void*>(pc), &info) && info.dli_fname) {
      levels[i] = {Level{demangle(info.dli_sname), 0}};
      byObject[QString::fromLocal8Bit(info.dli_fname)].append({i, pc - quintptr(info.dli_fbase)});
    } else {
      levels[i] = {Level{}};
    }
  }
  for (auto it = byObject.cbegin(); it != byObject.cend(); ++it) {
    QStringList addrs;
    for (const auto& [i, off] : it.value()) addrs << "0x" + QString::number(off, 16);
    const QStringList out = addr2line(it.key(), addrs);
    int k = -1;
    QList<Level> group;
    auto finish = [&] {
      if (k < 0 || k >= it.value().size() || group.isEmpty()) return;
      QList<Level>& target = levels[it.value()[k].first];
      // Keep dladdr's name where the debug information has none.
      if (group.size() == 1 && group[0].name.isEmpty()) group[0].name = target.value(0).name;
      target = group;
    };
    for (int j = 0; j < out.size(); ++j) {
      const QString l = out[j].trimmed();
      if (l.startsWith("0x")) {
        finish();
        ++k;
        group.clear();
        continue;
      }
      if (l.isEmpty() || j + 1 >= out.size()) continue;
      QString where = out[++j].trimmed();
      const int disc = where.indexOf(" (");
      if (disc >= 0) where.truncate(disc);
      group << Level{l == "??" ? QString() : l, where.mid(where.lastIndexOf(':') + 1).toInt()};
    }
    finish();
  }
  // Levels a sanitizer's runtime puts in front of ours (its own backtrace
  // call, say) are never the program's.
  static const QStringList runtime = {"__interceptor_", "__sanitizer", "__asan", "__ubsan"};
  QStringList lines;
  bool skipping = true;
  for (const QList<Level>& frame : levels) {
    for (const Level& l : frame) {
      if (std::any_of(runtime.begin(), runtime.end(), [&](const QString& p) { return l.name.startsWith(p); })) continue;
      const QString name = levelName(l.name);
      if (skipping) {
        bool skip = false;
        for (const QString& p : skipPrefixes) skip = skip || l.name.startsWith(p) || name.startsWith(p);
        if (skip) continue;
        skipping = false;
      }
      lines << QString("Called from %1(%2)").arg(name).arg(l.line);
      if (name == "main") return lines;
    }
  }
  return lines;
}

}  // namespace korvan
