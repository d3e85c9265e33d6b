#pragma once
// The real workbook backend: each open workbook runs the helper program
// "korvan-wbhelper", which runs the office suite headless. The helper is found
// beside the running executable, else where the build put it. It runs in a
// process group of its own with the office; a request that outlives its time
// limit, a close and the end of the program end the whole group.
// While a request waits for its answer on the main thread, the event loop
// keeps running (windows repaint, timers fire) and user input is dropped.
#include "platform/workbook.h"

#include <memory>

namespace korvan::platform {

struct OfficeOptions {
  QString helperPath;           // empty: officeHelperPath()
  QString officeDir;            // folder of soffice.bin; empty: the helper's default
  QString profileRoot;          // where the office's fresh profile is made; empty: /tmp
  int startLimitMs = 90000;     // starting the office and opening the workbook
  int requestLimitMs = 60000;   // every other request (reads, PDF export, close)
};

// The helper's path, or empty when there is none.
QString officeHelperPath();
// The office suite's program folder the helper uses by default.
QString officeProgramDir();
// True when the helper and the office suite are both there.
bool officeAvailable();

struct IdleOffice;

class OfficeBackend : public WorkbookBackend {
 public:
  explicit OfficeBackend(OfficeOptions options = {});
  ~OfficeBackend() override;
  std::unique_ptr<Workbook> open(const QString& path) override;
  // While held, a closed workbook leaves its helper and office running (its
  // document closed) for the next open; the last release ends them.
  void holdEngine() override;
  void releaseEngine() override;

 private:
  OfficeOptions options_;
  std::shared_ptr<IdleOffice> idle_;
};

// Ends every helper still running (and its office). Runs by itself when the
// program exits normally; the program may call it earlier on quit.
void endAllWorkbookHelpers();

}  // namespace korvan::platform
