#pragma once
// Helpers of the table engine tests: scratch folders, FoxPro fixtures, the
// Debian readers, and child processes that run one test of this program.
#include "common/dbf/table.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace korvan::dbf::test {

// Copies a fixture written by FoxPro into dir (writable) and returns its path.
QString copyFixture(const QString& name, const QString& dir);

struct ToolResult {
  int exitCode = -1;
  QByteArray out, err;
};
ToolResult runTool(const QString& program, const QStringList& args, int timeoutMs = 60000);

// The records as each reader sees them: one list of field texts per visible
// record, in record order (texts right-trimmed; numbers as the reader prints them).
QList<QStringList> dbfreadRecords(const QString& dbf);  // python3-dbfread
QList<QStringList> dbfDumpRecords(const QString& dbf);  // dbf_dump (no memo separators in values)
// Keys and record numbers of a tag in index order (index_dump --type=char);
// keys right-trimmed.
QList<QPair<QString, uint32_t>> indexDump(const QString& cdx, const QString& tag);
// The visible records of a tag as the engine walks it: the key fields' bytes
// (right-trimmed) and the record number.
QList<QPair<QString, uint32_t>> engineTag(Table& t, int order);

// Starts this test program again running only the given test (which may be
// DISABLED_), with extra environment; returns at once.
qint64 startChild(const QString& testName, const QStringList& env);
int waitChild(qint64 pid, int timeoutMs = 120000);
// True in a child started by startChild for that test.
bool isChild();

}  // namespace korvan::dbf::test
