// Kepler's equation by Newton's method (Meeus, Astronomical Formulae for Calculators, 4th ed.
// (1988), ch. 22 'Equation of Kepler': E = M + e₀ sin E (22.2) stepped by Newton's
// correction (22.3)), with the eccentricity expressed in degrees (e₀).
#include "ephemeris/kepler.h"

#include <cmath>

#include "ephemeris/degrees.h"

namespace {
// The same double to the bit: a Real is finite, so equal with the same sign (0 and -0 differ).
bool Same_Bits(Real a, Real b) {
  return a == b && std::signbit(a.value()) == std::signbit(b.value());
}
}  // namespace

Real Calc_Kepler(Real M, Real e) {
  const Real k = (180.0 / 3.141592654) * e;  // eccentricity in degrees
  Real E = M + k * Sin_Deg(M) * (1.0 + e * Cos_Deg(M));
  // A step is a function of E alone, so once the values repeat every later step repeats
  // them (and none could fault): stopping there leaves the bits that all 32 steps leave. At a
  // fixed point E stays; where the last bit alternates between two values, the 32nd step's is
  // the one of the same parity.
  Real before = E;  // the value one step back
  for (int step = 0; step < 32; ++step) {
    const Real next = E - (E - k * Sin_Deg(E) - M) / (1.0 - e * Cos_Deg(E));
    if (Same_Bits(next, E)) break;
    if (step > 0 && Same_Bits(next, before)) return step % 2 == 1 ? before : E;
    before = E;
    E = next;
  }
  return E;
}
