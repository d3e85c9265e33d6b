#pragma once
// A window test with the real office suite in force: its profiles in a folder
// of the test's own, the test skipped where the office or its helper is
// missing (failed in CI, where they must be), and the check that the office
// a window kept goes with the window.
#include <QCoreApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>

#include "platform/workbook.h"
#include "platform/workbook_office.h"
#include "platform/workbook_support.h"
#include "ui/stdqtw.h"

#define REQUIRE_OFFICE_WINDOW()                                                     \
  do {                                                                              \
    if (!korvan::platform::officeAvailable()) {                                     \
      if (qEnvironmentVariable("CI") == "true")                                     \
        FAIL() << "the office suite or the workbook helper is missing in CI";       \
      GTEST_SKIP() << "the office suite (soffice) or the workbook helper is missing"; \
    }                                                                               \
  } while (0)

namespace korvan::test {

template <class Base>
class OfficeWindowTest : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    profiles = this->dir.filePath("profiles");
    QDir().mkpath(profiles);
    platform::OfficeOptions o;
    o.profileRoot = profiles;
    office = std::make_unique<platform::OfficeBackend>(o);
    platform::setWorkbookBackend(office.get());
  }
  void TearDown() override {
    platform::setWorkbookBackend(nullptr);
    Base::TearDown();
  }

  // The office kept running while the window is open goes with it, and no
  // lock file is left beside the workbooks in folder.
  void expectOfficeGoesWith(MyQTW* w, const QString& folder) {
    EXPECT_FALSE(wbtest::processesWith(profiles).empty()) << "the office was not kept";
    QPointer<MyQTW> open = w;
    w->oWND->close();
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_TRUE(open.isNull());
    EXPECT_EQ(wbtest::waitUntilGone(profiles).size(), 0u);
    EXPECT_TRUE(wbtest::lockFiles(folder).isEmpty());
  }

  QString profiles;
  std::unique_ptr<platform::OfficeBackend> office;
};

}  // namespace korvan::test
