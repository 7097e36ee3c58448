// Rounding to 15 significant digits. For 1 <= |x| < 1000, the range of every longitude but
// the first degree, the digits are an integer n = round(|x| · 10^(14 − e)) below 10^15 with
// 10^e <= |x| < 10^(e+1); the exact product comes from an FMA residual, so n is the correctly
// rounded one, and n / 10^(14 − e), both exact doubles, is the nearest double to the decimal.
// Other magnitudes go through decimal text, always with '.' as the separator.
#include "ephemeris/decimal_rounding.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
double ViaText(double x) {
  char buf[40];
#if defined(__cpp_lib_to_chars)
  const auto end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15).ptr;
  double value = x;
  std::from_chars(buf, end, value);
  return value;
#else
  // musl (WebAssembly) has no locale-dependent decimal separator.
  std::snprintf(buf, sizeof buf, "%.15g", x);
  return std::strtod(buf, nullptr);
#endif
}
}  // namespace

double Round_15_Digits(double x) {
  const double a = std::fabs(x);
  if (!(a >= 1.0 && a < 1000.0)) return ViaText(x);
  const double scale = a >= 100.0 ? 1e12 : a >= 10.0 ? 1e13 : 1e14;
  const double p = a * scale;
  const double residual = std::fma(a, scale, -p);  // a · scale = p + residual exactly
  const double whole = std::floor(p);
  const double above_half = (p - whole - 0.5) + residual;  // sign of the exact excess over .5
  double n = whole;
  if (above_half > 0 || (above_half == 0 && std::fmod(whole, 2.0) != 0)) n = whole + 1;
  return std::copysign(n / scale, x);
}
