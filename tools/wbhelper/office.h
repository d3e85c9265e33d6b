#pragma once
// The office suite run headless for one helper: a private profile made fresh
// and removed at the end, a fixed locale, a pipe connection.
#include <com/sun/star/uno/XComponentContext.hpp>

#include <string>
#include <sys/types.h>

namespace wbhelper {

// A failure with the four parts that reach the user's error box.
struct Failure {
  std::string lastError;
  std::string operation;
  std::string description;
  std::string arguments;  // one argument per line
};

class Office {
 public:
  // Starts soffice and connects; throws Failure.
  Office(const std::string& programDir, const std::string& profileRoot, int connectLimitMs);
  ~Office();  // terminates the office, kills what is left, removes the profile
  Office(const Office&) = delete;
  Office& operator=(const Office&) = delete;

  css::uno::Reference<css::uno::XComponentContext> context() const { return remote_; }
  const std::string& profileDir() const { return profile_; }
  void shutdown();

 private:
  void connect(const std::string& programDir, int connectLimitMs);
  void spawn(const std::string& programDir, const std::string& pipeName);
  std::string profile_;
  pid_t pid_ = -1;
  css::uno::Reference<css::uno::XComponentContext> remote_;
};

// A caught UNO exception: its type name, and its message unless that is only
// a source position, in which case the given description.
Failure unoFailure(const std::string& operation, const std::string& arguments,
                   const std::string& description = "");

std::string toUtf8(const rtl::OUString& s);
rtl::OUString fromUtf8(const std::string& s);

}  // namespace wbhelper
