// Rounding to 15 significant digits: the double that writing x with 15 digits and reading the
// text back gives, computed without the C library's decimal conversions (they would be the
// largest part of the WebAssembly module) and independent of the process locale. Two correctly
// rounded steps: the 15 digits n = round(|x| · 10^k) with 10^14 <= n <= 10^15 (ties to even),
// then the double nearest to n · 10^-k (ties to even).
//
// For 1e-8 <= |x| < 1e15, every longitude among them, 10^k is an exact double (0 <= k <= 22):
// the product and its FMA residual give n exactly, and one division of the exact doubles n
// and 10^k is correctly rounded. Other magnitudes take the same two steps on big integers,
// with |x| = m · 2^e held as an exact ratio.
#include "ephemeris/decimal_rounding.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kExactPow10 = 22;  // 10^22 is the largest power of ten a double holds exactly
static_assert(std::ssize(kPow10) == kExactPow10 + 1, "the table ends at the bound");
constexpr double kLowest15 = 1e14, kPast15 = 1e15;

// A non-negative integer of up to 40 · 32 bits. The largest value the rounding builds is below
// 2^1140 (a subnormal times 10^340, or 2^1024 beside 10^294).
class Big_Int {
 public:
  explicit Big_Int(std::uint64_t v) {
    limb_[0] = static_cast<std::uint32_t>(v);
    limb_[1] = static_cast<std::uint32_t>(v >> 32);
    size_ = limb_[1] ? 2 : limb_[0] ? 1 : 0;
  }

  void Multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int k = 0; k < size_; ++k) {
      carry += static_cast<std::uint64_t>(limb_[k]) * factor;
      limb_[k] = static_cast<std::uint32_t>(carry);
      carry >>= 32;
    }
    if (carry) limb_[size_++] = static_cast<std::uint32_t>(carry);
  }

  void Multiply_Pow10(int k) {
    for (; k >= 9; k -= 9) Multiply(1000000000);
    if (k > 0) Multiply(static_cast<std::uint32_t>(kPow10[k]));
  }

  void Shift_Left(int bits) {
    if (size_ == 0 || bits == 0) return;
    const int words = bits / 32, rest = bits % 32;
    limb_[size_] = 0;
    for (int k = size_; k >= 0; --k) {
      const std::uint64_t high = static_cast<std::uint64_t>(limb_[k]) << rest;
      const std::uint32_t low = k > 0 && rest ? limb_[k - 1] >> (32 - rest) : 0;
      limb_[k + words] = static_cast<std::uint32_t>(high) | low;
    }
    for (int k = 0; k < words; ++k) limb_[k] = 0;
    size_ += words + 1;
    Trim();
  }

  void Halve() {
    for (int k = 0; k < size_; ++k)
      limb_[k] = (limb_[k] >> 1) | (k + 1 < size_ ? limb_[k + 1] << 31 : 0);
    Trim();
  }

  // *this -= other, for other <= *this.
  void Subtract(const Big_Int& other) {
    std::int64_t borrow = 0;
    for (int k = 0; k < size_; ++k) {
      std::int64_t d = static_cast<std::int64_t>(limb_[k]) - borrow -
                       (k < other.size_ ? static_cast<std::int64_t>(other.limb_[k]) : 0);
      borrow = d < 0;
      limb_[k] = static_cast<std::uint32_t>(d + (borrow << 32));
    }
    Trim();
  }

  int Bits() const {
    if (size_ == 0) return 0;
    int bits = 32 * (size_ - 1);
    for (std::uint32_t top = limb_[size_ - 1]; top; top >>= 1) ++bits;
    return bits;
  }

  friend int Compare(const Big_Int& a, const Big_Int& b) {
    if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
    for (int k = a.size_ - 1; k >= 0; --k)
      if (a.limb_[k] != b.limb_[k]) return a.limb_[k] < b.limb_[k] ? -1 : 1;
    return 0;
  }

 private:
  void Trim() {
    while (size_ > 0 && limb_[size_ - 1] == 0) --size_;
  }

  std::uint32_t limb_[41] = {};  // one spare limb for a shift's top word
  int size_ = 0;
};

// num / den rounded to the nearest integer, ties to even; the quotient must be below 2^62.
std::uint64_t Rounded_Quotient(Big_Int num, const Big_Int& den) {
  std::uint64_t q = 0;
  const int shift = num.Bits() - den.Bits();
  if (shift >= 0) {
    Big_Int d = den;
    d.Shift_Left(shift);
    for (int s = shift; s >= 0; --s) {
      q <<= 1;
      if (Compare(num, d) >= 0) {
        num.Subtract(d);
        q |= 1;
      }
      d.Halve();
    }
  }
  num.Shift_Left(1);  // twice the remainder against the divisor
  const int half = Compare(num, den);
  return q + (half > 0 || (half == 0 && (q & 1)) ? 1 : 0);
}

// The double nearest to num / den (> 0), ties to even; overflow gives infinity.
double Nearest_Double(Big_Int num, Big_Int den) {
  // 2^52 <= num · 2^t / den < 2^53, or t = 1074 where the doubles end (subnormals).
  int t = 52 - (num.Bits() - den.Bits());  // the quotient lies in [2^51, 2^53)
  Big_Int top = den;
  top.Shift_Left(52 + (t < 0 ? -t : 0));
  Big_Int scaled = num;
  scaled.Shift_Left(t > 0 ? t : 0);
  if (Compare(scaled, top) < 0) ++t;
  if (t > 1074) t = 1074;
  if (t >= 0)
    num.Shift_Left(t);
  else
    den.Shift_Left(-t);
  return std::ldexp(static_cast<double>(Rounded_Quotient(num, den)), -t);
}

// a = m · 2^e exactly, for finite a > 0.
void Decompose(double a, std::uint64_t& m, int& e) {
  std::uint64_t bits;
  std::memcpy(&bits, &a, sizeof bits);
  const int biased = static_cast<int>(bits >> 52);
  m = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased != 0) m |= std::uint64_t{1} << 52;
  e = (biased != 0 ? biased : 1) - 1075;
}

// k with 10^14 <= a · 10^k < 10^15, give or take one.
int Digit_Scale_Estimate(double a) {
  std::uint64_t m;
  int e;
  Decompose(a, m, e);
  int top_bit = e;
  for (; m > 1; m >>= 1) ++top_bit;  // 2^top_bit <= a < 2^(top_bit + 1)
  return 14 - static_cast<int>(std::floor(top_bit * 0.30102999566398120));
}

// The exact-double path for 1e-8 <= a < 1e15; false outside it.
bool Round_Scaled(double a, int k, double& rounded) {
  for (;;) {
    if (k < 0 || k > kExactPow10) return false;
    const double scale = kPow10[k];
    const double p = a * scale;
    if (p < kLowest15) {
      ++k;
    } else if (p >= kPast15) {
      --k;
    } else {
      const double residual = std::fma(a, scale, -p);  // a · scale = p + residual exactly
      const double whole = std::floor(p);
      const double above_half = (p - whole - 0.5) + residual;  // sign of the exact excess over .5
      double n = whole;
      if (above_half > 0 || (above_half == 0 && std::fmod(whole, 2.0) != 0)) n = whole + 1;
      rounded = n / scale;
      return true;
    }
  }
}

// The big-integer path, for any finite a > 0.
double Round_Exact(double a, int k) {
  std::uint64_t m;
  int e;
  Decompose(a, m, e);
  for (;;) {
    // n = round(m · 2^e · 10^k)
    Big_Int num(m), den(1);
    num.Shift_Left(e > 0 ? e : 0);
    den.Shift_Left(e < 0 ? -e : 0);
    if (k >= 0)
      num.Multiply_Pow10(k);
    else
      den.Multiply_Pow10(-k);
    const std::uint64_t n = Rounded_Quotient(num, den);
    if (n < static_cast<std::uint64_t>(kLowest15)) {
      ++k;
    } else if (n > static_cast<std::uint64_t>(kPast15)) {
      --k;
    } else {
      Big_Int digits(n), power(1);
      if (k >= 0)
        power.Multiply_Pow10(k);
      else
        digits.Multiply_Pow10(-k);
      return Nearest_Double(digits, power);
    }
  }
}
}  // namespace

double Round_15_Digits(double x) {
  const double a = std::fabs(x);
  if (a == 0 || !std::isfinite(a)) return x;
  const int k = Digit_Scale_Estimate(a);
  double rounded;
  if (!Round_Scaled(a, k, rounded)) rounded = Round_Exact(a, k);
  return std::copysign(rounded, x);
}
