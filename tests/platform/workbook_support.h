#pragma once
// Helpers of the workbook layer's tests: processes seen through /proc.
#include <QDir>
#include <QFile>
#include <QString>
#include <QThread>

#include <chrono>
#include <vector>

namespace korvan::wbtest {

// True while the process exists and is not a zombie.
inline bool alive(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  const QByteArray s = stat.readAll();
  const qsizetype close = s.lastIndexOf(')');
  return close > 0 && close + 2 < s.size() && s[close + 2] != 'Z';
}

// Live processes whose command line holds the given text.
inline std::vector<qint64> processesWith(const QString& text) {
  std::vector<qint64> found;
  const QByteArray needle = text.toUtf8();
  for (const QString& e : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool ok = false;
    const qint64 pid = e.toLongLong(&ok);
    if (!ok) continue;
    QFile f("/proc/" + e + "/cmdline");
    if (f.open(QIODevice::ReadOnly) && f.readAll().contains(needle) && alive(pid)) found.push_back(pid);
  }
  return found;
}

// Waits up to limitMs for no live process to hold the text; returns those left.
inline std::vector<qint64> waitUntilGone(const QString& text, int limitMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  std::vector<qint64> left = processesWith(text);
  while (!left.empty() && std::chrono::steady_clock::now() < end) {
    QThread::msleep(50);
    left = processesWith(text);
  }
  return left;
}

inline bool waitUntilDead(qint64 pid, int limitMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (alive(pid)) {
    if (std::chrono::steady_clock::now() > end) return false;
    QThread::msleep(20);
  }
  return true;
}

// Lock files the office suite leaves beside a document it opened for writing.
inline QStringList lockFiles(const QString& dir) {
  return QDir(dir).entryList({".~lock.*"}, QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace korvan::wbtest
