// Real: a checked double. Every value taken in and every arithmetic result is tested as it is
// formed, so an invalid operation, a division by zero or an overflow raises FloatError at the
// step where it happens, and a formula reads as the book prints it:
//   (1.91946 - 0.004789 * T - 0.000014 * T2) * Sin_Deg(M)
// is formed left to right, each product, difference and sum checked in turn. A Real always
// holds a finite value; its double comes out only through value().
#pragma once

#include <cmath>

#include "ephemeris/float_check.h"

class Real {
 public:
  constexpr Real() = default;
  // Implicit, so literals and table values enter formulas as they are; checked.
  constexpr Real(double x) : v_(Chk(x)) {}

  constexpr double value() const { return v_; }

  friend constexpr Real operator+(Real a, Real b) { return a.v_ + b.v_; }
  friend constexpr Real operator-(Real a, Real b) { return a.v_ - b.v_; }
  friend constexpr Real operator*(Real a, Real b) { return a.v_ * b.v_; }
  friend constexpr Real operator/(Real a, Real b) { return a.v_ / b.v_; }
  constexpr Real operator-() const { return -v_; }

  friend constexpr bool operator==(Real a, Real b) { return a.v_ == b.v_; }
  friend constexpr bool operator<(Real a, Real b) { return a.v_ < b.v_; }
  friend constexpr bool operator>(Real a, Real b) { return a.v_ > b.v_; }
  friend constexpr bool operator<=(Real a, Real b) { return a.v_ <= b.v_; }
  friend constexpr bool operator>=(Real a, Real b) { return a.v_ >= b.v_; }

 private:
  double v_ = 0.0;
};

// The library functions the theories use, on checked values: |x|, x truncated toward zero,
// the square root (of a negative number: FloatError) and the arc tangent in radians.
inline Real Abs(Real x) { return std::fabs(x.value()); }
inline Real Trunc(Real x) { return std::trunc(x.value()); }
inline Real Sqrt(Real x) { return std::sqrt(x.value()); }
inline Real Atan(Real x) { return std::atan(x.value()); }
