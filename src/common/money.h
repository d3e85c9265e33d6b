#pragma once
// Money rounding: the one decimal-safe rounding helper of the program.
#include <cstdint>

namespace korvan {

// Rounds half away from zero on the decimal value as written: 1.005 -> 1.01,
// 2 * 10.005 -> 20.01, -2.5 -> -3. A result of zero is always +0, so that
// nothing shows "-0,00". Negative decimals round to tens, hundreds, ...
double ROUND(double value, int decimals);

// a / b, or 0 when b is 0.
double DIV0(double a, double b);

namespace detail {
// |value| * 10^decimals rounded half away from zero, as an exact integer.
// Returns false when the scaled value is too large to hold exactly (or is not
// finite); decimals must be 0..22.
bool roundScaled(double value, int decimals, std::uint64_t& magnitude);
// 10^n for n in 0..22 (exact in a double).
double pow10(int n);
}  // namespace detail

}  // namespace korvan
