// The ten body routines and the orbit solver. Each routine reads JulianCenturies (T) and
// writes only its own slot of Pln_Lon: the geocentric ecliptic longitude of date in degrees,
// reduced into 0..360. A floating-point fault raises FloatError and leaves the slot as it was.
#pragma once

#include "ephemeris/real.h"

// Sun (slot 0); also leaves Sun_Lon and Sun_Dist, which every planet reads, so it runs first.
void Calc_Sun();
// Moon (slot 1); needs nothing but T.
void Calc_Moon();
// Planets (slots 2..9); each needs Calc_Sun to have run for the same T.
void Calc_Mercury();
void Calc_Venus();
void Calc_Mars();
void Calc_Jupiter();
void Calc_Saturn();
void Calc_Uranus();
void Calc_Neptune();
void Calc_Pluto();

// Geocentric ecliptic longitude (degrees, 0..360) of a planet with mean longitude L,
// semi-major axis a (AU), eccentricity e, inclination i, argument of perihelion w and node
// Om (degrees; L, w, Om reduced into 0..360), seen from the Sun_Lon and Sun_Dist left by
// Calc_Sun. The longitude comes back rounded to 15 significant digits, as a decimal text
// round trip would leave it.
Real Calc_Geocentric(Real L, Real a, Real e, Real i, Real w, Real Om);

// The body routines in BodyIndex order, for the passes of the start-up.
using BodyRoutine = void (*)();
inline constexpr BodyRoutine kBodyRoutines[10] = {
    Calc_Sun,    Calc_Moon,   Calc_Mercury, Calc_Venus,   Calc_Mars,
    Calc_Jupiter, Calc_Saturn, Calc_Uranus, Calc_Neptune, Calc_Pluto};
