// Angle helpers in degrees, shared by every theory, the orbit solver, the wheel drawing and
// the position texts. They take and return checked values (Real).
#pragma once

#include <cmath>
#include <string>

#include "ephemeris/real.h"

// π/4 taken at run time: degrees convert with atan(1)/45, radians back with 45/atan(1).
inline const double kAtn1 = std::atan(1.0);

// Sine and cosine of an angle x in degrees (x·atan(1) / 45 radians). Inline, so that a sine
// and a cosine of the same angle cost one sincos. The radians of a finite x are finite
// (smaller than x), so the result is what is checked.
inline Real Sin_Deg(Real x) { return std::sin(x.value() * kAtn1 / 45.0); }
inline Real Cos_Deg(Real x) { return std::cos(x.value() * kAtn1 / 45.0); }

// Arc sine and arc cosine in degrees of x in -1..1; |x| = 1 is taken exactly (±90; 0 or 180).
// |x| > 1 raises FloatError (square root of a negative number).
Real ASin_Deg(Real x);
Real ACos_Deg(Real x);

// Arc tangent in degrees, -90..90.
Real Atn_Deg(Real x);

// x reduced into 0..360; both 0 and 360 can come back (360 stays 360, -360 gives 360,
// 720 gives 0), so callers treat them alike.
Real Norm_360(Real x);

// Whole degree of longitude x within its 30-degree sign, rounded half to even, as decimal
// digits followed by " جة ". A remainder that rounds to 30 reads 29: the body stays in the
// sign that the houses and the sign phrase use.
std::string Sign_DegText(Real x);
