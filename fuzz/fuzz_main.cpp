// libFuzzer entry of one target, chosen at build time.
#include "targets.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const korvan::fuzz::Target* t = korvan::fuzz::target(QStringLiteral(KORVAN_FUZZ_TARGET));
  t->run(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  return 0;
}
