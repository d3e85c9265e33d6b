#pragma once
// Fuzz targets: each takes one input and must return normally, whatever the
// input holds; damage may only end in the reader's own error, caught here.
// The same functions run under libFuzzer (fuzz/fuzz_main.cpp, clang only)
// and over the kept inputs in the ordinary test suite (tests/fuzz).
//
// Table inputs are packed files: [u32 dbf length][dbf][u32 cdx length][cdx]
// [memo file: the rest]; a length of 0 leaves that file out.
#include <QByteArray>
#include <QList>
#include <QString>

namespace korvan::fuzz {

struct Target {
  const char* name;
  void (*run)(const QByteArray& input);
};

// Every target, by the name of its corpus folder.
const QList<Target>& targets();
const Target* target(const QString& name);

// Packs table files into one input of the table target.
QByteArray packTable(const QByteArray& dbf, const QByteArray& cdx, const QByteArray& memo);

}  // namespace korvan::fuzz
