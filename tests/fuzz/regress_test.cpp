// Every kept input of every fuzz target (the seed corpus and the minimal
// inputs of earlier findings) runs once, each in a child process with a
// time limit and, outside the sanitizer build, a memory limit: an input that
// hangs, crashes or allocates without bound fails here.
#include "targets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvan::fuzz {
namespace {

constexpr unsigned kSecondsPerInput = 60;  // a hang detector, far above any sound input
constexpr rlim_t kMemoryBytes = rlim_t(4) << 30;

bool sanitizerBuild() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#endif
#endif
  return false;
}

// How the child ended, in words; empty when it returned normally.
std::string runInChild(const Target& t, const QByteArray& input) {
  const pid_t pid = ::fork();
  if (pid < 0) return "fork failed";
  if (pid == 0) {
    ::alarm(kSecondsPerInput);
    if (!sanitizerBuild()) {
      const rlimit lim{kMemoryBytes, kMemoryBytes};
      ::setrlimit(RLIMIT_AS, &lim);
    }
    t.run(input);
    ::_exit(0);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status) == 0 ? "" : "exit code " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status))
    return WTERMSIG(status) == SIGALRM ? "no end within the time limit" : std::string("signal ") + strsignal(WTERMSIG(status));
  return "unknown end";
}

TEST(FuzzInputs, EveryKeptInputEndsNormally) {
  const QDir root(QStringLiteral(KORVAN_SOURCE_DIR "/fuzz"));
  int inputs = 0;
  for (const Target& t : targets()) {
    for (const char* kind : {"corpus", "regress"}) {
      const QDir dir(root.filePath(QString("%1/%2").arg(kind, t.name)));
      for (const QFileInfo& f : dir.entryInfoList(QDir::Files, QDir::Name)) {
        QFile in(f.filePath());
        ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << f.filePath().toStdString();
        EXPECT_EQ(runInChild(t, in.readAll()), "") << t.name << ": " << f.filePath().toStdString();
        ++inputs;
      }
    }
    // Every target has seeds to start from.
    EXPECT_FALSE(QDir(root.filePath(QString("corpus/%1").arg(t.name))).isEmpty(QDir::Files)) << t.name;
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
}  // namespace korvan::fuzz
