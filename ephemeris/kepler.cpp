// Kepler's equation by Newton's method (Meeus, Astronomical Formulae for Calculators, the
// chapter on the equation of Kepler), with the eccentricity expressed in degrees.
#include "ephemeris/kepler.h"

#include <bit>
#include <cstdint>

#include "ephemeris/degrees.h"

namespace {
bool Same_Bits(Real a, Real b) {
  return std::bit_cast<std::uint64_t>(a.value()) == std::bit_cast<std::uint64_t>(b.value());
}
}  // namespace

Real Calc_Kepler(Real M, Real e) {
  const Real k = (180.0 / 3.141592654) * e;  // eccentricity in degrees
  Real E = M + k * Sin_Deg(M) * (1.0 + e * Cos_Deg(M));
  // A step is a function of E alone: once it gives back exactly the E it was given, every
  // later step would too, so stopping there leaves the bits that 32 steps leave (and no later
  // step could fault). Where the last bit alternates between two values, all 32 are taken.
  for (int step = 0; step < 32; ++step) {
    const Real next = E - (E - k * Sin_Deg(E) - M) / (1.0 - e * Cos_Deg(E));
    if (Same_Bits(next, E)) break;
    E = next;
  }
  return E;
}
