// The workbook helper. Requests come one JSON object a line on standard
// input, answers go one JSON object a line to standard output:
//   {"op":"open","url":...}            -> {"ok":true,"nullDate":"1899-12-30"}
//   {"op":"cells","pos":[[c,r],...]}   -> {"ok":true,"cells":[[kind,type,number,shown],...]}
//   {"op":"usedRows"}                  -> {"ok":true,"rows":n}
//   {"op":"pdf","url":...}             -> {"ok":true}
//   {"op":"closeDoc"}                  -> {"ok":true}; the office stays for the next "open"
//   {"op":"close"}                     -> {"ok":true}, then the helper ends
// A failure answers {"ok":false,"lastError":..,"operation":..,"description":..,"arguments":[..]}.
// On start the helper prints {"ready":true,"profile":...} once the office is
// connected. End of input closes the document and ends the office.
#include "office.h"
#include "sheet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

FILE* g_answers = nullptr;  // the protocol channel (the original standard output)

bool answer(const QJsonObject& o) {
  QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact);
  line += '\n';
  if (std::fwrite(line.constData(), 1, line.size(), g_answers) != size_t(line.size())) return false;
  return std::fflush(g_answers) == 0;
}

QJsonObject failure(const wbhelper::Failure& f) {
  QJsonArray args;
  if (!f.arguments.empty())
    for (const QString& a : QString::fromStdString(f.arguments).split('\n')) args.append(a);
  return QJsonObject{{"ok", false},
                     {"lastError", QString::fromStdString(f.lastError)},
                     {"operation", QString::fromStdString(f.operation)},
                     {"description", QString::fromStdString(f.description)},
                     {"arguments", args}};
}

QJsonObject handle(wbhelper::Office& office, std::unique_ptr<wbhelper::Sheet>& doc,
                   const QJsonObject& req, bool& done) {
  const QString op = req.value("op").toString();
  if (op == "close") {
    if (doc) doc->close();
    doc.reset();
    done = true;
    return {{"ok", true}};
  }
  if (op == "closeDoc") {
    if (doc) doc->close();
    doc.reset();
    return {{"ok", true}};
  }
  if (op == "open") {
    if (doc) doc->close();
    doc.reset();
    doc = std::make_unique<wbhelper::Sheet>(office.context(), req.value("url").toString().toStdString());
    return {{"ok", true}, {"nullDate", QString::fromStdString(doc->nullDate())}};
  }
  if (!doc) throw wbhelper::Failure{"no document", op.toStdString(), "no workbook is open", ""};
  if (op == "cells") {
    std::vector<std::pair<int, int>> pos;
    for (const QJsonValue& v : req.value("pos").toArray()) {
      const QJsonArray p = v.toArray();
      pos.emplace_back(p.at(0).toInt(), p.at(1).toInt());
    }
    QJsonArray out;
    for (const wbhelper::CellData& c : doc->cells(pos))
      out.append(QJsonArray{c.kind, c.type, c.number, QString::fromStdString(c.shown)});
    return {{"ok", true}, {"cells", out}};
  }
  if (op == "usedRows") return {{"ok", true}, {"rows", doc->usedRows()}};
  if (op == "pdf") {
    doc->exportFirstSheetPdf(req.value("url").toString().toStdString());
    return {{"ok", true}};
  }
  throw wbhelper::Failure{"bad request", op.toStdString(), "unknown request", ""};
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  // Keep standard output for answers only; anything else printed goes to errors.
  int answersFd = dup(1);
  dup2(2, 1);
  g_answers = fdopen(answersFd, "w");

  std::string programDir = KORVAN_OFFICE_PROGRAM_DIR;
  std::string profileRoot;
  int connectLimitMs = 60000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--office-dir") programDir = argv[i + 1];
    else if (a == "--profile-root") profileRoot = argv[i + 1];
    else if (a == "--connect-limit-ms") connectLimitMs = std::atoi(argv[i + 1]);
  }

  std::unique_ptr<wbhelper::Office> office;
  try {
    office = std::make_unique<wbhelper::Office>(programDir, profileRoot, connectLimitMs);
  } catch (const wbhelper::Failure& f) {
    answer(failure(f));
    return 1;
  }
  if (!answer({{"ready", true}, {"profile", QString::fromStdString(office->profileDir())}})) return 1;

  std::unique_ptr<wbhelper::Sheet> doc;
  std::string line;
  bool done = false;
  while (!done && std::getline(std::cin, line)) {
    QJsonObject reply;
    try {
      const QJsonObject req = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
      reply = handle(*office, doc, req, done);
    } catch (const wbhelper::Failure& f) {
      reply = failure(f);
    } catch (const std::exception& e) {
      reply = failure({"internal error", "request", e.what(), ""});
    }
    if (!answer(reply)) break;
  }
  if (doc) doc->close();
  doc.reset();
  office->shutdown();
  return 0;
}
