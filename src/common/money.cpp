#include "common/money.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korvan {
namespace detail {
namespace {

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Values below this hold every integer exactly.
constexpr double kExactLimit = 9007199254740992.0;  // 2^53

// Decimal rounding of a value whose scaled form lies next to a tie: decided on
// its decimal digits (15 significant ones, or the shortest exact form where
// more are wanted), never on the binary approximation.
std::uint64_t roundOnDigits(double a, int decimals) {
  char buf[64];
  int len = std::snprintf(buf, sizeof buf, "%.14e", a);
  const char* e = static_cast<const char*>(std::memchr(buf, 'e', len));
  int exp10 = std::atoi(e + 1);
  if (exp10 + 1 + decimals > 15) {
    auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    len = static_cast<int>(r.ptr - buf);
    e = static_cast<const char*>(std::memchr(buf, 'e', len));
    exp10 = std::atoi(e + 1);
  }
  char digits[32];
  int n = 0;
  for (const char* p = buf; p < e; ++p)
    if (*p >= '0' && *p <= '9') digits[n++] = *p;
  const int keep = exp10 + 1 + decimals;
  if (keep < 0) return 0;
  std::uint64_t m = 0;
  for (int i = 0; i < keep; ++i) m = m * 10 + (i < n ? digits[i] - '0' : 0);
  if (keep < n && digits[keep] >= '5') ++m;
  return m;
}

}  // namespace

double pow10(int n) { return kPow10[n]; }

bool roundScaled(double value, int decimals, std::uint64_t& magnitude) {
  if (!std::isfinite(value) || decimals < 0 || decimals > 22) return false;
  const double a = std::fabs(value);
  const double x = a * kPow10[decimals];
  if (x >= kExactLimit / 2) return false;
  const double fl = std::floor(x);
  const double frac = x - fl;
  // The product carries at most a few units of its last place of error; only
  // a value that close to a tie needs its decimal digits looked at.
  const double tolerance = x * 1e-15 + 1e-9;
  if (std::fabs(frac - 0.5) > tolerance) {
    magnitude = static_cast<std::uint64_t>(fl) + (frac > 0.5 ? 1 : 0);
    return true;
  }
  magnitude = roundOnDigits(a, decimals);
  return true;
}

}  // namespace detail

double ROUND(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  if (decimals < 0) {
    if (decimals < -22) return 0.0;
    const double scale = detail::pow10(-decimals);
    const double r = ROUND(value / scale, 0) * scale;
    return r == 0 ? 0.0 : r;
  }
  std::uint64_t m = 0;
  if (!detail::roundScaled(value, decimals, m)) return value;  // nothing left to round
  if (m == 0) return 0.0;
  const double r = static_cast<double>(m) / detail::pow10(decimals);
  return value < 0 ? -r : r;
}

double DIV0(double a, double b) { return b == 0 ? 0.0 : a / b; }

}  // namespace korvan
