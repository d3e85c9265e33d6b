// Number reading and picture formatting over 1,000,000 mixed values, in ns
// per call, beside a plain strtod over the same strings.
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/numbers.h"

using namespace korvan;

namespace {

constexpr int kCount = 1000000;

template <typename F>
double nsPerCall(F&& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  const auto t1 = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::nano>(t1 - t0).count() / kCount;
}

}  // namespace

int main() {
  std::mt19937_64 rng(20221214);
  std::uniform_real_distribution<double> amount(-1e7, 1e7);
  std::vector<double> values(kCount);
  std::vector<QString> texts(kCount);
  std::vector<std::string> plain(kCount);
  const QString pictures[] = {"@E 999,999,999,999.99", "@E 999.99", "9999999999.999", "@EZ 9,999,999.99"};
  for (int i = 0; i < kCount; ++i) {
    double v = amount(rng);
    if (i % 7 == 0) v = static_cast<double>(static_cast<long long>(v));  // whole numbers
    if (i % 11 == 0) v /= 1e5;                                          // small ones
    values[i] = v;
    plain[i] = QString::number(v, 'f', 2).toStdString();
    switch (i % 4) {
      case 0: texts[i] = TRANSFORM(v, "@E 999,999,999,999.99").trimmed(); break;  // 1.234,56
      case 1: texts[i] = TRANSFORM(v, "999,999,999,999.99").trimmed(); break;     // 1,234.56
      case 2: texts[i] = QString::number(v, 'f', 2).replace('.', ','); break;     // 1234,56
      default: texts[i] = QString::number(v, 'f', 3); break;                      // 1234.567
    }
  }

  volatile double sink = 0;
  const double tStrtod = nsPerCall([&] {
    double s = 0;
    for (int i = 0; i < kCount; ++i) s += std::strtod(plain[i].c_str(), nullptr);
    sink = s;
  });
  const double tInteli = nsPerCall([&] {
    double s = 0;
    for (int i = 0; i < kCount; ++i) s += INTELI_VAL(texts[i]);
    sink = s;
  });
  qsizetype total = 0;
  const double tTransform = nsPerCall([&] {
    for (int i = 0; i < kCount; ++i) total += TRANSFORM(values[i], pictures[i % 4]).size();
  });
  const double tRound = nsPerCall([&] {
    double s = 0;
    for (int i = 0; i < kCount; ++i) s += ROUND(values[i], 2);
    sink = s;
  });
  (void)sink;

  std::printf("values: %d mixed (1.234,56 / 1,234.56 / 1234,56 / 1234.567)\n", kCount);
  std::printf("strtod (reference): %7.1f ns per call\n", tStrtod);
  std::printf("INTELI_VAL:         %7.1f ns per call\n", tInteli);
  std::printf("TRANSFORM:          %7.1f ns per call (%lld characters)\n", tTransform,
              static_cast<long long>(total));
  std::printf("ROUND:              %7.1f ns per call\n", tRound);
  return 0;
}
