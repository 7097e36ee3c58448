// Kepler's equation E − e sin E = M, shared by the Sun and the orbit solver.
#pragma once

#include "ephemeris/real.h"

// Eccentric anomaly E (degrees, not reduced) for mean anomaly M (degrees) and eccentricity e,
// by Newton's method from E₀ = M + e sin M (1 + e cos M): 32 steps, ending early once the
// values repeat (a fixed point, or the last bit alternating), with the same bits as all 32.
// Raises FloatError on a fault (a division by zero when e cos E = 1).
Real Calc_Kepler(Real M, Real e);
