#include "dbftest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvan::dbf::test {

QString copyFixture(const QString& name, const QString& dir) {
  const QString from = QString(KORVAN_FIXTURES_DIR) + "/foxpro/" + name;
  const QString to = dir + "/" + name;
  QFile::remove(to);
  if (!QFile::copy(from, to)) ADD_FAILURE() << "cannot copy fixture " << from.toStdString();
  QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  return to;
}

ToolResult runTool(const QString& program, const QStringList& args, int timeoutMs) {
  QProcess p;
  p.start(program, args);
  ToolResult r;
  if (!p.waitForStarted(10000)) {
    r.err = ("cannot start " + program).toUtf8();
    return r;
  }
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

QList<QStringList> dbfreadRecords(const QString& dbf) {
  static const char* script = R"(
import sys, json, dbfread
t = dbfread.DBF(sys.argv[1], encoding='utf-8', char_decode_errors='strict', ignore_missing_memofile=False)
out = []
for r in t:
    row = []
    for k, v in r.items():
        if v is None: row.append('')
        elif isinstance(v, bool): row.append('T' if v else 'F')
        elif hasattr(v, 'strftime'): row.append(v.strftime('%Y%m%d'))
        elif isinstance(v, float): row.append(repr(v))
        elif isinstance(v, bytes): row.append(v.decode('utf-8'))
        else: row.append(str(v).rstrip(' '))
    out.append(row)
print(json.dumps(out))
)";
  const ToolResult r = runTool("/usr/bin/python3", {"-c", script, dbf});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  QList<QStringList> rows;
  for (const QJsonValue& row : QJsonDocument::fromJson(r.out).array()) {
    QStringList l;
    for (const QJsonValue& v : row.toArray()) l << v.toString();
    rows << l;
  }
  return rows;
}

QList<QStringList> dbfDumpRecords(const QString& dbf) {
  const ToolResult r = runTool("dbf_dump", {"--fs", "\x01", "--rs", "\x02\n", dbf});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  QList<QStringList> rows;
  for (const QByteArray& line : r.out.split('\x02')) {
    QByteArray l = line;
    if (l.startsWith('\n')) l.remove(0, 1);
    if (l.isEmpty()) continue;
    QStringList f;
    for (const QByteArray& v : l.split('\x01')) {
      QString s = QString::fromUtf8(v);
      while (s.endsWith(' ')) s.chop(1);
      f << s;
    }
    rows << f;
  }
  return rows;
}

QList<QPair<QString, uint32_t>> indexDump(const QString& cdx, const QString& tag) {
  const ToolResult r = runTool("index_dump", {"--type=char", cdx, tag});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  QList<QPair<QString, uint32_t>> out;
  for (const QByteArray& line : r.out.split('\n')) {
    if (line.isEmpty()) continue;
    const int sp = line.lastIndexOf(' ');
    QString key = QString::fromUtf8(line.left(sp));
    while (key.endsWith(' ')) key.chop(1);
    out.append({key, line.mid(sp + 1).toUInt()});
  }
  return out;
}

QList<QPair<QString, uint32_t>> engineTag(Table& t, int order) {
  QList<QPair<QString, uint32_t>> out;
  const int was = t.order();
  const QStringList parts = t.tagExpression(order).split('+');
  t.setOrder(order);
  for (t.top(); !t.eof(); t.skip()) {
    QByteArray k;
    for (const QString& p : parts) k += t.raw(t.fieldPos(p));
    QString key = QString::fromUtf8(k);
    while (key.endsWith(' ')) key.chop(1);
    out.append({key, t.recno()});
  }
  t.setOrder(was);
  return out;
}

qint64 startChild(const QString& testName, const QStringList& env) {
  const QByteArray exe = QCoreApplication::applicationFilePath().toLocal8Bit();
  const QByteArray filter = ("--gtest_filter=" + testName).toLocal8Bit();
  const pid_t pid = fork();
  if (pid == 0) {
    for (const QString& e : env) {
      const QByteArray kv = e.toLocal8Bit();
      const int eq = kv.indexOf('=');
      setenv(kv.left(eq).constData(), kv.mid(eq + 1).constData(), 1);
    }
    setenv("KORVAN_TEST_CHILD", "1", 1);
    execl(exe.constData(), exe.constData(), filter.constData(), "--gtest_also_run_disabled_tests", (char*)nullptr);
    _exit(127);
  }
  return pid;
}

int waitChild(qint64 pid, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    int status = 0;
    const pid_t r = waitpid(pid_t(pid), &status, WNOHANG);
    if (r == pid_t(pid)) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    usleep(10000);
  }
  kill(pid_t(pid), SIGKILL);
  int status = 0;
  waitpid(pid_t(pid), &status, 0);
  return -1;
}

bool isChild() { return qEnvironmentVariableIsSet("KORVAN_TEST_CHILD"); }

}  // namespace korvan::dbf::test
