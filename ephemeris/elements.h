// Orbital elements as polynomials in T, in the form of Meeus's element tables
// (Astronomical Formulae for Calculators): constant + c1 T + c2 T² + c3 T³.
#pragma once

#include "ephemeris/float_check.h"

struct ElementPoly {
  double c0, c1, c2, c3;  // constant and the coefficients of T, T², T³
};

inline double Eval(const ElementPoly& p, double T) { return Poly(T, p.c0, p.c1, p.c2, p.c3); }

// The six elements of one planet: mean longitude, semi-major axis (AU), eccentricity,
// inclination, argument of perihelion and longitude of the ascending node (degrees).
struct PlanetElements {
  ElementPoly L, a, e, i, w, Om;
};

// Evaluates a planet's unperturbed elements at T in the order L, e, i, ω, Ω (L, ω, Ω reduced
// into 0..360 as each is computed), passes them to the orbit solver and stores the longitude
// in Pln_Lon[slot].
void Place_Unperturbed(const PlanetElements& el, int slot);
