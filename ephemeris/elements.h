// Orbital elements as polynomials in T, in the form of Meeus's element tables
// (Astronomical Formulae for Calculators): constant + c1 T + c2 T² + c3 T³.
#pragma once

#include "ephemeris/bodies.h"
#include "ephemeris/perturbations.h"
#include "ephemeris/real.h"

// The element polynomial c0 + c1 T + c2 T² + c3 T³ with T² = T·T and T³ = T·T·T, summed
// left to right; a zero coefficient's term is left out.
inline Real Poly(Real T, double c0, double c1, double c2 = 0.0, double c3 = 0.0) {
  Real v = c0 + c1 * T;
  if (c2 != 0.0) v = v + c2 * (T * T);
  if (c3 != 0.0) v = v + c3 * (T * T * T);
  return v;
}

struct ElementPoly {
  double c0, c1, c2, c3;  // constant and the coefficients of T, T², T³
};

inline Real Eval(const ElementPoly& p, Real T) { return Poly(T, p.c0, p.c1, p.c2, p.c3); }

// The six elements of one planet: mean longitude, semi-major axis (AU), eccentricity,
// inclination, argument of perihelion and longitude of the ascending node (degrees).
struct PlanetElements {
  ElementPoly L, a, e, i, w, Om;
};

// Evaluates a planet's elements at T: L + ΔL, a + Δa / 10⁶, e + Δe / 10⁶, i, ω + S / e and Ω
// (L, ω, Ω reduced into 0..360), and returns the geocentric longitude the orbit solver finds
// for them from the Sun's place.
Real Planet_Longitude(const PlanetElements& el, Real T, const Sun_Place& sun,
                      const Perturbations& p = {});
