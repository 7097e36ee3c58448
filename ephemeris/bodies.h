// The body theories: each a function from the time T (Julian centuries of 36525 days from
// JD 2415020.0) to the body's geocentric ecliptic longitude of date in degrees, reduced into
// 0..360. A planet is seen from the Sun's place, which the Sun's theory gives for the same T.
// They read and write no shared state; a floating-point fault raises FloatError.
#pragma once

#include "ephemeris/real.h"

// The Sun's apparent longitude (degrees, 0..360) and radius vector (AU).
struct Sun_Place {
  Real Lon, Dist;
};

Sun_Place Sun_Position(Real T);
Real Moon_Longitude(Real T);

// The planets, each seen from the Sun's place at the same T.
Real Mercury_Longitude(Real T, const Sun_Place& sun);
Real Venus_Longitude(Real T, const Sun_Place& sun);
Real Mars_Longitude(Real T, const Sun_Place& sun);
Real Jupiter_Longitude(Real T, const Sun_Place& sun);
Real Saturn_Longitude(Real T, const Sun_Place& sun);
Real Uranus_Longitude(Real T, const Sun_Place& sun);
Real Neptune_Longitude(Real T, const Sun_Place& sun);
Real Pluto_Longitude(Real T, const Sun_Place& sun);

// The planets' theories in BodyIndex order, Mercury (2) to Pluto (9).
using Planet_Theory = Real (*)(Real T, const Sun_Place& sun);
inline constexpr Planet_Theory kPlanetTheories[8] = {
    Mercury_Longitude, Venus_Longitude,  Mars_Longitude,    Jupiter_Longitude,
    Saturn_Longitude,  Uranus_Longitude, Neptune_Longitude, Pluto_Longitude};

// Geocentric ecliptic longitude (degrees, 0..360) of a planet with mean longitude L,
// semi-major axis a (AU), eccentricity e, inclination i, argument of perihelion w and node
// Om (degrees; L, w, Om reduced into 0..360), seen from the Sun's place. The longitude comes
// back rounded to 15 significant digits, as a decimal text round trip would leave it.
Real Calc_Geocentric(Real L, Real a, Real e, Real i, Real w, Real Om, const Sun_Place& sun);
