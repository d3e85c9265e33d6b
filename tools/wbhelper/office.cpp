#include "office.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/exc_hlp.hxx>
#include <osl/file.hxx>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace css;
using rtl::OUString;

namespace wbhelper {

std::string toUtf8(const OUString& s) {
  return std::string(rtl::OUStringToOString(s, RTL_TEXTENCODING_UTF8).getStr());
}

OUString fromUtf8(const std::string& s) {
  return OUString(s.data(), static_cast<sal_Int32>(s.size()), RTL_TEXTENCODING_UTF8);
}

Failure unoFailure(const std::string& operation, const std::string& arguments,
                   const std::string& description) {
  uno::Any caught = cppu::getCaughtException();
  Failure f;
  f.lastError = toUtf8(caught.getValueTypeName());
  uno::Exception e;
  if (caught >>= e) f.description = toUtf8(e.Message);
  // Messages of release builds are often just "at <source file>:<line>".
  if (f.description.empty() || f.description.rfind("at ", 0) == 0) {
    if (!description.empty()) {
      if (!f.description.empty()) f.description = description + " (" + f.description + ")";
      else f.description = description;
    }
  }
  f.operation = operation;
  f.arguments = arguments;
  return f;
}

namespace {

constexpr int kRestartCode = 81;

// Locale, no first-start dialogs, no recovery data: the same answers on every machine.
const char* kSettings = R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooSetupSystemLocale" oor:op="fuse"><value>sr-Latn-RS</value></prop></item>
<item oor:path="/org.openoffice.Setup/L10N"><prop oor:name="ooLocale" oor:op="fuse"><value>en-US</value></prop></item>
<item oor:path="/org.openoffice.Setup/Office"><prop oor:name="ooSetupInstCompleted" oor:op="fuse"><value>true</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="UseLocking" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Recovery/RecoveryInfo"><prop oor:name="Enabled" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Recovery/AutoSave"><prop oor:name="Enabled" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
)";

std::string fileUrl(const std::string& path) {
  OUString url;
  osl::FileBase::getFileURLFromSystemPath(fromUtf8(path), url);
  return toUtf8(url);
}

std::string randomName() {
  std::random_device rd;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%08x%08x", rd(), rd());
  return buf;
}

}  // namespace

Office::Office(const std::string& programDir, const std::string& profileRoot, int connectLimitMs) {
  std::string tmpl = (profileRoot.empty() ? std::string("/tmp") : profileRoot) + "/korvan-wb-XXXXXX";
  if (!mkdtemp(tmpl.data()))
    throw Failure{std::strerror(errno), "mkdtemp", "the office profile folder could not be made", tmpl};
  profile_ = tmpl;
  {
    std::filesystem::create_directories(profile_ + "/user");
    std::ofstream out(profile_ + "/user/registrymodifications.xcu");
    out << kSettings;
  }

  try {
    connect(programDir, connectLimitMs);
  } catch (...) {
    shutdown();
    throw;
  }
}

void Office::connect(const std::string& programDir, int connectLimitMs) {
  const std::string pipeName = "korvan_wb_" + std::to_string(getpid()) + "_" + randomName();
  spawn(programDir, pipeName);

  // The local side of the bridge: the office's own type and service files.
  const std::string rc = "vnd.sun.star.pathname:" + programDir + "/fundamentalrc";
  setenv("URE_BOOTSTRAP", rc.c_str(), 1);
  uno::Reference<uno::XComponentContext> local;
  try {
    local = cppu::defaultBootstrap_InitialComponentContext();
  } catch (const uno::Exception&) {
    throw unoFailure("defaultBootstrap_InitialComponentContext", rc, "the office suite's type libraries could not be loaded");
  }
  uno::Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local);
  const OUString url = fromUtf8("uno:pipe,name=" + pipeName + ";urp;StarOffice.ComponentContext");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(connectLimitMs);
  int restarts = 0;
  for (;;) {
    try {
      remote_.set(resolver->resolve(url), uno::UNO_QUERY_THROW);
      break;
    } catch (const connection::NoConnectException&) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        // A fresh profile makes the first run ask for a restart, as after an update.
        if (WIFEXITED(status) && WEXITSTATUS(status) == kRestartCode && ++restarts <= 3) {
          spawn(programDir, pipeName);
          continue;
        }
        throw Failure{"soffice exited", "resolve", "the office suite ended before it took the connection",
                      toUtf8(url)};
      }
      if (std::chrono::steady_clock::now() > deadline)
        throw Failure{"time-out", "resolve", "the office suite did not take the connection in time",
                      toUtf8(url)};
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } catch (const uno::Exception&) {
      throw unoFailure("resolve", toUtf8(url), "the connection to the office suite failed");
    }
  }
}

void Office::spawn(const std::string& programDir, const std::string& pipeName) {
  const std::string bin = programDir + "/soffice.bin";
  std::vector<std::string> args = {
      bin,
      "-env:UserInstallation=" + fileUrl(profile_),
      "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
      "--nolockcheck", "--nofirststartwizard",
      "--accept=pipe,name=" + pipeName + ";urp;StarOffice.ComponentContext"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0)
    throw Failure{std::strerror(errno), "fork", "the office suite could not be started", bin};
  if (pid == 0) {
    // Dies with the helper; keeps the helper's process group so one kill ends both.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(2, 1);  // the office's chatter goes to the helper's error output
    if (devnull > 2) close(devnull);
    setenv("SAL_USE_VCLPLUGIN", "svp", 1);
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    execv(bin.c_str(), argv.data());
    _exit(127);
  }
  pid_ = pid;
}

void Office::shutdown() {
  // An office that never took the connection was not told to end: no waiting for it.
  const bool told = remote_.is();
  if (remote_.is()) {
    try {
      uno::Reference<frame::XDesktop2> desktop = frame::Desktop::create(remote_);
      desktop->terminate();
    } catch (...) {
      // the bridge goes down with the office; nothing more to do
    }
    remote_.clear();
  }
  if (pid_ > 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(told ? 10 : 0);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
  }
  if (!profile_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(profile_, ec);
    profile_.clear();
  }
}

Office::~Office() { shutdown(); }

}  // namespace wbhelper
