// The start-up computation: the instant, two passes over the ten bodies one step apart, and
// the retrograde flags.
#pragma once

#include "control/platform.h"
#include "ephemeris/time_base.h"

// Step from the first pass to the second, in Julian centuries (about one day). This constant,
// not 1/36525.
inline constexpr double kRetroStep = 0.000027378;

// The ten body routines: each runs its body's theory at JulianCenturies (T) and writes only
// its own slot of Pln_Lon. A floating-point fault raises FloatError and leaves the slot as it
// was.
// Sun (slot 0); also leaves Sun_Dist and Sun_Lon, from which every planet is seen, so it runs
// first.
void Calc_Sun();
// Moon (slot 1); needs nothing but T.
void Calc_Moon();
// Planets (slots 2..9), each seen from the Sun_Lon and Sun_Dist that Calc_Sun left.
void Calc_Mercury();
void Calc_Venus();
void Calc_Mars();
void Calc_Jupiter();
void Calc_Saturn();
void Calc_Uranus();
void Calc_Neptune();
void Calc_Pluto();

// The body routines in BodyIndex order, for the passes of the start-up.
using BodyRoutine = void (*)();
inline constexpr BodyRoutine kBodyRoutines[10] = {
    Calc_Sun,    Calc_Moon,   Calc_Mercury, Calc_Venus,   Calc_Mars,
    Calc_Jupiter, Calc_Saturn, Calc_Uranus, Calc_Neptune, Calc_Pluto};

// Runs the ten body routines in BodyIndex order, Sun first.
void Compute_Pass();

// Retrograde flags from the one-step motion d = Pln_Lon(k) − Pln_Rec(k).Lon, slots 0..9:
// the Moon is never retrograde; -3 <= d < 0 is retrograde, 0 < d <= 3 direct, a step across
// 0° is judged after adding 360 when d < -3 and flags retrograde when d > 3; d = 0 leaves the
// flag as it was.
void Apply_Retrograde_Rule();

// From JulianCenturies as Calc_Time left it: first pass, Pln_Rec(k).Lon ← Pln_Lon(k),
// JulianCenturies advanced by kRetroStep (and left so), second pass, retrograde rule.
// A FloatError abandons it where it happens; what was written stays.
void Compute_Positions();

// Calc_Time for the UTC reading, then Compute_Positions. A date in the 1582 calendar gap
// shows kCalendarGapMessage through the platform and, as the control has always done, goes on
// with the time left from before (zero on a fresh thread). Returns false in that case.
bool Startup_Compute(const CivilTime& utc, Platform& platform);
