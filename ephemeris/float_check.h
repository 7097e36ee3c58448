// Floating-point fault checking: every computed value passes through Chk, so an invalid
// operation, a division by zero or an overflow (all of which leave a non-finite value)
// abandons the running routine with FloatError. Checked by value, not through <cfenv>
// flags, because WebAssembly has no floating-point status flags.
#pragma once

#include <cmath>
#include <stdexcept>

// The system's run-time floating-point error. Nothing in the computation catches it; it
// travels up to the host's event or method call, leaving values written before it.
class FloatError : public std::runtime_error {
 public:
  FloatError() : std::runtime_error("floating-point fault (overflow, division by zero or invalid operation)") {}
};

// Returns x unchanged, or throws FloatError when x is infinite or not a number.
inline double Chk(double x) {
  if (!std::isfinite(x)) throw FloatError();
  return x;
}

// The element polynomial c0 + c1 T + c2 T² + c3 T³ with T² = T·T and T³ = T·T·T,
// summed left to right; every step is checked.
inline double Poly(double T, double c0, double c1, double c2 = 0.0, double c3 = 0.0) {
  double v = Chk(c0 + Chk(c1 * T));
  if (c2 != 0.0) v = Chk(v + Chk(c2 * Chk(T * T)));
  if (c3 != 0.0) v = Chk(v + Chk(c3 * Chk(Chk(T * T) * T)));
  return v;
}
