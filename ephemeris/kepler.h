// Kepler's equation E − e sin E = M, shared by the Sun and the orbit solver.
#pragma once

#include "ephemeris/real.h"

// Eccentric anomaly E (degrees, not reduced) for mean anomaly M (degrees) and eccentricity e,
// by Newton's method from E₀ = M + e sin M (1 + e cos M): at most 32 steps, ending early at
// the step's fixed point, which gives the same bits as all 32. Raises FloatError on a fault
// (a division by zero when e cos E = 1).
Real Calc_Kepler(Real M, Real e);
