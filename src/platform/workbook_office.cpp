#include "platform/workbook_office.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "platform/inputblock.h"

#ifndef KORVAN_OFFICE_PROGRAM_DIR
#define KORVAN_OFFICE_PROGRAM_DIR "/usr/lib/libreoffice/program"
#endif

namespace korvan::platform {

namespace {

const char* kHelperName = "korvan-wbhelper";
constexpr qint64 kAnswerMaxBytes = qint64(16) << 20;  // the largest answer taken (a few thousand cells are far less)

// What a helper killed before it could tidy up leaves: the folder its office
// profile is in, and the office's connection pipe in /tmp.
void removeLeftovers(qint64 group, const std::string& root) {
  std::error_code ec;
  if (!root.empty()) std::filesystem::remove_all(root, ec);
  if (group <= 0) return;
  const std::string prefix =
      "OSL_PIPE_" + std::to_string(::getuid()) + "_korvan_wb_" + std::to_string(group) + "_";
  // Never throws: this also runs at exit.
  std::filesystem::directory_iterator it("/tmp", ec), end;
  for (; !ec && it != end; it.increment(ec))
    if (it->path().filename().string().rfind(prefix, 0) == 0) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
}

// Process groups of the helpers still running, with their profile folders,
// ended at exit. Never destroyed, so a workbook closed during exit still finds it.
struct LiveGroups {
  std::mutex mutex;
  std::map<qint64, std::string> groups;
  void add(qint64 g, const std::string& root) {
    std::lock_guard lock(mutex);
    groups[g] = root;
  }
  void remove(qint64 g) {
    std::lock_guard lock(mutex);
    groups.erase(g);
  }
  void endAll() {
    std::lock_guard lock(mutex);
    for (const auto& [g, root] : groups) ::kill(-static_cast<pid_t>(g), SIGKILL);
    for (const auto& [g, root] : groups) removeLeftovers(g, root);
    groups.clear();
  }
};

LiveGroups& liveGroups() {
  static LiveGroups* g = [] {
    auto* made = new LiveGroups;
    std::atexit([] { liveGroups().endAll(); });
    return made;
  }();
  return *g;
}

// Ends a helper's whole group and what it leaves behind.
void endHelper(std::unique_ptr<QProcess>& proc, qint64& group, QString& root) {
  if (!proc) return;
  if (group > 0) ::kill(-static_cast<pid_t>(group), SIGKILL);
  proc->waitForFinished(5000);
  proc.reset();
  if (group > 0) liveGroups().remove(group);
  // The helper removes its office profile itself unless it was killed.
  removeLeftovers(group, QFile::encodeName(root).toStdString());
  group = 0;
  root.clear();
}

}  // namespace

// A helper with no document, kept for the next open while its backend is held.
struct IdleOffice {
  int holds = 0;
  std::unique_ptr<QProcess> proc;
  qint64 group = 0;
  QString root;
  int requestLimitMs = 60000;

  ~IdleOffice() {
    // Possibly at exit, when the event loop is gone: the group is ended, the process object left.
    if (!proc) return;
    if (group > 0) ::kill(-static_cast<pid_t>(group), SIGKILL);
    if (group > 0) liveGroups().remove(group);
    removeLeftovers(group, QFile::encodeName(root).toStdString());
    (void)proc.release();
  }
  bool has() const { return proc && proc->state() == QProcess::Running; }
  // Asks the kept helper to close its office, then ends its group in any case.
  void end() {
    if (!proc) return;
    if (proc->state() == QProcess::Running) {
      proc->write("{\"op\":\"close\"}\n");
      proc->closeWriteChannel();
      proc->waitForFinished(requestLimitMs);
    }
    endHelper(proc, group, root);
  }
};

namespace {

// Waits up to ms for more of the helper's answer (or its end). On the
// program's main thread the event loop keeps running, so windows repaint and
// timers fire while the office works, and user input is dropped; elsewhere,
// or when there is no event loop, a plain blocking wait.
void waitForMore(QProcess& p, int ms) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread()) {
    p.waitForReadyRead(ms);
    return;
  }
  QEventLoop loop;
  QObject::connect(&p, &QProcess::readyReadStandardOutput, &loop, &QEventLoop::quit);
  QObject::connect(&p, &QProcess::finished, &loop, &QEventLoop::quit);
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  limit.start(ms);
  InputBlocker blocker;
  // Bytes that came while no loop ran are read by the loop's first pass.
  if (p.state() != QProcess::NotRunning) loop.exec();
}

QString seconds(int ms) { return QString::number(ms / 1000.0, 'f', ms % 1000 ? 1 : 0); }

// The value of a cell the way a spreadsheet's Value gives it.
QVariant valueOf(ValueType type, double number, const QString& shown, const QDate& nullDate) {
  switch (type) {
    case ValueType::Empty:
      return {};
    case ValueType::Number:
      return number;
    case ValueType::Text:
    case ValueType::Error:
      return shown;
    case ValueType::Date:
      return nullDate.addDays(static_cast<qint64>(std::floor(number)));
    case ValueType::DateTime: {
      const double day = std::floor(number);
      qint64 ms = std::llround((number - day) * 86400000.0);
      QDate d = nullDate.addDays(static_cast<qint64>(day));
      if (ms >= 86400000) {
        d = d.addDays(1);
        ms -= 86400000;
      }
      return QDateTime(d, QTime(0, 0).addMSecs(static_cast<int>(ms)));
    }
  }
  return {};
}

class OfficeWorkbook : public Workbook {
 public:
  OfficeWorkbook(const OfficeOptions& o, const QString& path, std::shared_ptr<IdleOffice> idle)
      : options_(o), path_(path), idle_(std::move(idle)) {}
  ~OfficeWorkbook() override { close(); }

  void start();
  void startHelper();
  Cell cell(int column, int row) override { return cells({{column, row}}).at(0); }
  std::vector<Cell> cells(const std::vector<CellPos>& positions) override;
  int usedRows() override;
  void exportFirstSheetPdf(const QString& pdfPath) override;
  void close() override;

 private:
  QJsonObject request(const QJsonObject& req, int limitMs, const QStringList& args);
  QJsonObject readLine(const QString& operation, int limitMs, const QStringList& args);
  void endGroup();
  [[noreturn]] void fail(const QString& lastError, const QString& operation,
                         const QString& description, const QStringList& args);

  OfficeOptions options_;
  QString path_;
  std::shared_ptr<IdleOffice> idle_;
  std::unique_ptr<QProcess> proc_;
  qint64 group_ = 0;
  QString root_;  // made here; the helper makes its profile inside it
  QDate nullDate_{1899, 12, 30};
};

void OfficeWorkbook::fail(const QString& lastError, const QString& operation,
                          const QString& description, const QStringList& args) {
  endGroup();
  throw WorkbookError(lastError, operation, description, args);
}

void OfficeWorkbook::start() {
  if (idle_ && idle_->has()) {  // the office of an earlier read, its document closed
    proc_ = std::move(idle_->proc);
    group_ = std::exchange(idle_->group, 0);
    root_ = std::exchange(idle_->root, QString());
  } else {
    if (idle_) idle_->end();
    startHelper();
  }
  const QString url = QUrl::fromLocalFile(QFileInfo(path_).absoluteFilePath()).toString(QUrl::FullyEncoded);
  const QJsonObject opened =
      request({{"op", "open"}, {"url", url}}, options_.startLimitMs, {url});
  const QDate nd = QDate::fromString(opened.value("nullDate").toString(), Qt::ISODate);
  if (nd.isValid()) nullDate_ = nd;
}

void OfficeWorkbook::startHelper() {
  const QString helper = options_.helperPath.isEmpty() ? officeHelperPath() : options_.helperPath;
  if (helper.isEmpty() || !QFileInfo(helper).isExecutable())
    throw WorkbookError("no helper", "start", "the workbook helper program is missing",
                        {helper.isEmpty() ? QString(kHelperName) : helper});
  // The profile goes into a folder of ours, so that it is removed even when
  // the helper is killed before it has said where it made the profile.
  QByteArray root = QFile::encodeName(
      (options_.profileRoot.isEmpty() ? QDir::tempPath() : options_.profileRoot) + "/korvan-wbr-XXXXXX");
  if (!::mkdtemp(root.data()))
    throw WorkbookError(QString::fromLocal8Bit(std::strerror(errno)), "start",
                        "the folder for the office profile could not be made", {QFile::decodeName(root)});
  root_ = QFile::decodeName(root);
  QStringList args{"--connect-limit-ms", QString::number(options_.startLimitMs)};
  if (!options_.officeDir.isEmpty()) args << "--office-dir" << options_.officeDir;
  args << "--profile-root" << root_;

  proc_ = std::make_unique<QProcess>();
  proc_->setProgram(helper);
  proc_->setArguments(args);
  proc_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // A group of its own: the helper, the office and whatever it starts end together.
  proc_->setChildProcessModifier([] { ::setpgid(0, 0); });
  proc_->start();
  if (!proc_->waitForStarted(options_.startLimitMs)) {
    const QString err = proc_->errorString();
    proc_.reset();
    QDir(root_).removeRecursively();
    root_.clear();
    throw WorkbookError(err, "start", "the workbook helper could not be started", {helper});
  }
  group_ = proc_->processId();
  liveGroups().add(group_, QFile::encodeName(root_).toStdString());

  const QJsonObject ready = readLine("start", options_.startLimitMs, {helper});
  if (!ready.value("ready").toBool()) {
    if (ready.contains("ok"))
      fail(ready.value("lastError").toString(), ready.value("operation").toString(),
           ready.value("description").toString(), {});
    fail("bad answer", "start", "the workbook helper gave an answer it should not", {helper});
  }
}

QJsonObject OfficeWorkbook::readLine(const QString& operation, int limitMs, const QStringList& args) {
  QElapsedTimer timer;
  timer.start();
  while (!proc_->canReadLine()) {
    // An answer is one line; bytes without its end beyond any sound answer
    // are a helper gone wrong, not something to keep in memory.
    if (proc_->bytesAvailable() > kAnswerMaxBytes)
      fail("bad answer", operation, "the workbook helper gave an answer that cannot be read", args);
    const qint64 left = limitMs - timer.elapsed();
    if (proc_->state() == QProcess::NotRunning)
      fail("helper ended", operation, "the workbook helper ended before it answered", args);
    if (left <= 0)
      fail("time-out", operation,
           QString("the office suite did not answer within %1 s").arg(seconds(limitMs)), args);
    waitForMore(*proc_, static_cast<int>(std::min<qint64>(left, 1000)));
  }
  const QByteArray line = proc_->readLine();
  QJsonParseError err;
  const QJsonDocument doc = QJsonDocument::fromJson(line, &err);
  if (err.error != QJsonParseError::NoError || !doc.isObject())
    fail("bad answer", operation, "the workbook helper gave an answer that cannot be read", args);
  return doc.object();
}

// The office call behind each request, as the error box names it.
QString operationOf(const QString& request) {
  if (request == "open") return "loadComponentFromURL";
  if (request == "cells") return "getCellByPosition";
  if (request == "usedRows") return "gotoEndOfUsedArea";
  if (request == "pdf") return "storeToURL";
  return request;
}

QJsonObject OfficeWorkbook::request(const QJsonObject& req, int limitMs, const QStringList& args) {
  const QString op = operationOf(req.value("op").toString());
  if (!proc_ || proc_->state() != QProcess::Running)
    throw WorkbookError("closed", op, "the workbook is not open", args);
  QByteArray line = QJsonDocument(req).toJson(QJsonDocument::Compact);
  line += '\n';
  if (proc_->write(line) != line.size())
    fail("helper ended", op, "the workbook helper does not take requests", args);
  const QJsonObject reply = readLine(op, limitMs, args);
  if (!reply.value("ok").toBool()) {
    QStringList a;
    for (const QJsonValue& v : reply.value("arguments").toArray()) a << v.toString();
    throw WorkbookError(reply.value("lastError").toString(), reply.value("operation").toString(),
                        reply.value("description").toString(), a);
  }
  return reply;
}

std::vector<Cell> OfficeWorkbook::cells(const std::vector<CellPos>& positions) {
  QJsonArray pos;
  for (const CellPos& p : positions) pos.append(QJsonArray{p.column, p.row});
  QStringList args;
  if (positions.size() == 1) args << QString::number(positions[0].column) << QString::number(positions[0].row);
  const QJsonArray got =
      request({{"op", "cells"}, {"pos", pos}}, options_.requestLimitMs, args).value("cells").toArray();
  if (got.size() != static_cast<qsizetype>(positions.size()))
    throw WorkbookError("bad answer", "getCellByPosition", "the helper answered for other cells", args);
  std::vector<Cell> out;
  out.reserve(positions.size());
  for (const QJsonValue& v : got) {
    const QJsonArray a = v.toArray();
    Cell c;
    c.kind = static_cast<CellKind>(std::clamp(a.at(0).toInt(), 0, 3));
    c.type = static_cast<ValueType>(std::clamp(a.at(1).toInt(), 0, 5));
    c.number = a.at(2).toDouble();
    c.shown = a.at(3).toString();
    c.value = valueOf(c.type, c.number, c.shown, nullDate_);
    out.push_back(std::move(c));
  }
  return out;
}

int OfficeWorkbook::usedRows() {
  return request({{"op", "usedRows"}}, options_.requestLimitMs, {}).value("rows").toInt();
}

void OfficeWorkbook::exportFirstSheetPdf(const QString& pdfPath) {
  const QFileInfo target(pdfPath);
  // Written beside the target under a private name, checked, then put in place
  // in one step: a failed export never leaves a broken or stale file as the PDF.
  QTemporaryFile tmp(target.absolutePath() + "/.korvan-pdf-XXXXXX.pdf");
  tmp.setAutoRemove(true);
  if (!tmp.open())
    throw WorkbookError(tmp.errorString(), "storeToURL", "the PDF file could not be made", {pdfPath});
  tmp.close();
  const QString tmpPath = QFileInfo(tmp.fileName()).absoluteFilePath();
  const QString url = QUrl::fromLocalFile(tmpPath).toString(QUrl::FullyEncoded);
  request({{"op", "pdf"}, {"url", url}}, options_.requestLimitMs, {pdfPath, "calc_pdf_Export"});

  QFile out(tmpPath);
  QByteArray head;
  if (out.open(QIODevice::ReadOnly)) head = out.read(4);
  out.close();
  if (head != "%PDF")
    throw WorkbookError("no PDF", "storeToURL", "the office suite did not write the PDF",
                        {pdfPath, "calc_pdf_Export"});
  // A temporary file is private; the PDF gets the mode of any new file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(QFile::encodeName(tmpPath).constData(), 0666 & ~mask);
  if (::rename(QFile::encodeName(tmpPath).constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
    throw WorkbookError(QString::fromLocal8Bit(std::strerror(errno)), "storeToURL",
                        "the PDF could not be put in place", {pdfPath});
  tmp.setAutoRemove(false);
}

void OfficeWorkbook::endGroup() { endHelper(proc_, group_, root_); }

void OfficeWorkbook::close() {
  if (!proc_) return;
  if (proc_->state() == QProcess::Running && idle_ && idle_->holds > 0 && !idle_->proc) {
    try {
      request({{"op", "closeDoc"}}, options_.requestLimitMs, {});
      idle_->requestLimitMs = options_.requestLimitMs;
      idle_->proc = std::move(proc_);
      idle_->group = std::exchange(group_, 0);
      idle_->root = std::exchange(root_, QString());
      return;
    } catch (const WorkbookError&) {
      // ended below
    }
  }
  if (proc_ && proc_->state() == QProcess::Running) {
    try {
      request({{"op", "close"}}, options_.requestLimitMs, {});
      proc_->closeWriteChannel();
      proc_->waitForFinished(options_.requestLimitMs);
    } catch (const WorkbookError&) {
      // ended below in any case
    }
  }
  endGroup();
}

}  // namespace

QString officeProgramDir() { return QStringLiteral(KORVAN_OFFICE_PROGRAM_DIR); }

QString officeHelperPath() {
  if (QCoreApplication::instance()) {
    const QString beside = QCoreApplication::applicationDirPath() + "/" + kHelperName;
    if (QFileInfo(beside).isExecutable()) return beside;
  }
#ifdef KORVAN_WBHELPER_PATH
  const QString built = QStringLiteral(KORVAN_WBHELPER_PATH);
  if (QFileInfo(built).isExecutable()) return built;
#endif
  return {};
}

bool officeAvailable() {
  return !officeHelperPath().isEmpty() && QFileInfo(officeProgramDir() + "/soffice.bin").isExecutable();
}

OfficeBackend::OfficeBackend(OfficeOptions options)
    : options_(std::move(options)), idle_(std::make_shared<IdleOffice>()) {}

OfficeBackend::~OfficeBackend() = default;

void OfficeBackend::holdEngine() { ++idle_->holds; }

void OfficeBackend::releaseEngine() {
  if (idle_->holds > 0 && --idle_->holds > 0) return;
  idle_->end();
}

std::unique_ptr<Workbook> OfficeBackend::open(const QString& path) {
  const QFileInfo fi(path);
  const QString url = QUrl::fromLocalFile(fi.absoluteFilePath()).toString(QUrl::FullyEncoded);
  if (path.isEmpty() || !fi.isFile())
    throw WorkbookError("no file", "loadComponentFromURL", "the workbook does not exist", {url});
  auto wb = std::make_unique<OfficeWorkbook>(options_, path, idle_);
  wb->start();
  return wb;
}

void endAllWorkbookHelpers() { liveGroups().endAll(); }

}  // namespace korvan::platform
