// Periodic perturbation series of the outer planets (Meeus, Astronomical Formulae for
// Calculators): sums of terms (c0 + c1 ν + c2 ν²) × f1 × f2, where f1 and f2 are sines or
// cosines of the perturbation arguments, taken unreduced.
#pragma once

#include <cstdint>

#include "ephemeris/real.h"

// The trigonometric factors a term may use. kOne stands for a missing second factor.
enum Trig : std::uint8_t {
  kOne,
  kSinV, kCosV,                      // great-inequality argument V = 5Q − 2P
  kSinZ, kCosZ, kSin2Z, kCos2Z,      // ζ = Q − P and its multiples
  kSin3Z, kCos3Z, kSin4Z, kCos4Z,
  kSinQ, kCosQ, kSin2Q, kCos2Q,      // Saturn's mean-longitude argument Q
  kSinH, kCosH, kSin2H, kCos2H,      // the slow argument H of Uranus and Neptune
  kTrigCount
};

struct PerturbTerm {
  double c0, c1, c2;  // coefficient as a polynomial in ν
  Trig f1, f2;
};

// Values of the factors for one instant; kOne is 1.
struct TrigValues {
  Real v[kTrigCount] = {1.0};
};

// One series: its terms in table order.
struct Series {
  const PerturbTerm* terms;
  int count;
};
template <int N>
constexpr Series Series_Of(const PerturbTerm (&terms)[N]) {
  return {terms, N};
}

// The four series of a planet: ΔL and the perihelion series S in degrees, Δe and Δa in
// millionths (of an AU for Δa).
struct Perturbation_Series {
  Series dL, de, da, S;
};

// Sum of a series' terms in table order; every step checked.
Real Sum_Series(const Series& series, const TrigValues& trig, Real nu);

// Periodic corrections of a planet's elements: ΔL and S in degrees, Δe and Δa in millionths.
// All zero for the unperturbed planets.
struct Perturbations {
  Real dL = 0, de = 0, da = 0, S = 0;
};

// The four series summed for one instant.
inline Perturbations Sum_Perturbations(const Perturbation_Series& series, const TrigValues& trig,
                                       Real nu) {
  return {Sum_Series(series.dL, trig, nu), Sum_Series(series.de, trig, nu),
          Sum_Series(series.da, trig, nu), Sum_Series(series.S, trig, nu)};
}
