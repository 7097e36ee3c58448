// Moon: low-precision lunar theory (Meeus, Astronomical Formulae for Calculators, 4th ed.
// (1988), ch. 30 'Position of the Moon'): five fundamental angles with their small periodic
// corrections, the eccentricity factor, and the 50 periodic terms in longitude. No latitude,
// distance or nutation.
#include <iterator>

#include "ephemeris/bodies.h"
#include "ephemeris/degrees.h"
#include "ephemeris/elements.h"

namespace {
enum Angle : signed char { kD, kM, kMp, kF };  // D, M, M′, F

// One multiple of a fundamental angle in an argument, e.g. {-2, kF} for −2F.
struct Multiple {
  signed char times;  // 0 marks an unused place
  Angle angle;
};

// One periodic term: coefficient (degrees) × sin(argument) × e^ePower, the argument written
// as in the source table, multiples summed left to right.
struct MoonTerm {
  double coeff;
  Multiple arg[3];
  int ePower;
};

constexpr MoonTerm kMoonTerms[] = {
    {+6.288750, {{1, kMp}}, 0},                          //  1  M′
    {+1.274018, {{2, kD}, {-1, kMp}}, 0},                //  2  2D − M′
    {+0.658309, {{2, kD}}, 0},                           //  3  2D
    {+0.213616, {{2, kMp}}, 0},                          //  4  2M′
    {-0.185596, {{1, kM}}, 1},                           //  5  M
    {-0.114336, {{2, kF}}, 0},                           //  6  2F
    {+0.058793, {{2, kD}, {-2, kMp}}, 0},                //  7  2D − 2M′
    {+0.057212, {{2, kD}, {-1, kM}, {-1, kMp}}, 1},      //  8  2D − M − M′
    {+0.053320, {{2, kD}, {1, kMp}}, 0},                 //  9  2D + M′
    {+0.045874, {{2, kD}, {-1, kM}}, 1},                 // 10  2D − M
    {+0.041024, {{1, kMp}, {-1, kM}}, 1},                // 11  M′ − M
    {-0.034718, {{1, kD}}, 0},                           // 12  D
    {-0.030465, {{1, kM}, {1, kMp}}, 1},                 // 13  M + M′
    {+0.015326, {{2, kD}, {-2, kF}}, 0},                 // 14  2D − 2F
    {-0.012528, {{1, kMp}, {2, kF}}, 0},                 // 15  M′ + 2F
    {-0.010980, {{2, kF}, {-1, kMp}}, 0},                // 16  2F − M′
    {+0.010674, {{4, kD}, {-1, kMp}}, 0},                // 17  4D − M′
    {+0.010034, {{3, kMp}}, 0},                          // 18  3M′
    {+0.008548, {{4, kD}, {-2, kMp}}, 0},                // 19  4D − 2M′
    {-0.007910, {{2, kD}, {1, kM}, {-1, kMp}}, 1},       // 20  2D + M − M′
    {-0.006783, {{2, kD}, {1, kM}}, 1},                  // 21  2D + M
    {+0.005162, {{1, kMp}, {-1, kD}}, 0},                // 22  M′ − D
    {+0.005000, {{1, kD}, {1, kM}}, 1},                  // 23  D + M
    {+0.004049, {{2, kD}, {-1, kM}, {1, kMp}}, 1},       // 24  2D − M + M′
    {+0.003996, {{2, kD}, {2, kMp}}, 0},                 // 25  2D + 2M′
    {+0.003862, {{4, kD}}, 0},                           // 26  4D
    {+0.003665, {{2, kD}, {-3, kMp}}, 0},                // 27  2D − 3M′
    {+0.002695, {{2, kMp}, {-1, kM}}, 1},                // 28  2M′ − M
    {+0.002602, {{1, kMp}, {-2, kD}, {-2, kF}}, 0},      // 29  M′ − 2D − 2F
    {+0.002396, {{2, kD}, {-1, kM}, {-2, kMp}}, 1},      // 30  2D − M − 2M′
    {-0.002349, {{1, kD}, {1, kMp}}, 0},                 // 31  D + M′
    {+0.002249, {{2, kD}, {-2, kM}}, 2},                 // 32  2D − 2M
    {-0.002125, {{1, kM}, {2, kMp}}, 1},                 // 33  M + 2M′
    {-0.002079, {{2, kM}}, 2},                           // 34  2M
    {+0.002059, {{2, kD}, {-2, kM}, {-1, kMp}}, 2},      // 35  2D − 2M − M′
    {-0.001773, {{2, kD}, {1, kMp}, {-2, kF}}, 0},       // 36  2D + M′ − 2F
    {-0.001595, {{2, kD}, {2, kF}}, 0},                  // 37  2D + 2F
    {+0.001220, {{4, kD}, {-1, kM}, {-1, kMp}}, 1},      // 38  4D − M − M′
    {-0.001110, {{2, kMp}, {2, kF}}, 0},                 // 39  2M′ + 2F
    {+0.000892, {{1, kMp}, {-3, kD}}, 0},                // 40  M′ − 3D
    {-0.000811, {{2, kD}, {1, kM}, {1, kMp}}, 1},        // 41  2D + M + M′
    {+0.000761, {{4, kD}, {-1, kM}, {-2, kMp}}, 1},      // 42  4D − M − 2M′
    {+0.000717, {{1, kMp}, {-2, kM}}, 2},                // 43  M′ − 2M
    {+0.000704, {{1, kMp}, {-2, kD}, {-2, kM}}, 2},      // 44  M′ − 2D − 2M
    {+0.000693, {{2, kD}, {1, kM}, {-2, kMp}}, 1},       // 45  2D + M − 2M′
    {+0.000598, {{2, kD}, {-1, kM}, {-2, kF}}, 1},       // 46  2D − M − 2F
    {+0.000550, {{4, kD}, {1, kMp}}, 0},                 // 47  4D + M′
    {+0.000538, {{4, kMp}}, 0},                          // 48  4M′
    {+0.000521, {{4, kD}, {-1, kM}}, 1},                 // 49  4D − M
    {+0.000486, {{2, kMp}, {-1, kD}}, 0},                // 50  2M′ − D
};
static_assert(std::size(kMoonTerms) == 50);

// |times| × x: a doubled angle as x + x, a tripled or quadrupled one as 3 × x or 4 × x.
Real Times(int times, Real x) {
  const int n = times < 0 ? -times : times;
  if (n == 1) return x;
  if (n == 2) return x + x;
  return n * x;
}

Real Argument(const Multiple (&arg)[3], const Real (&angles)[4]) {
  Real sum = Times(arg[0].times, angles[arg[0].angle]);
  for (int k = 1; k < 3 && arg[k].times != 0; ++k) {
    const Real part = Times(arg[k].times, angles[arg[k].angle]);
    sum = arg[k].times < 0 ? sum - part : sum + part;
  }
  return sum;
}
}  // namespace

Real Moon_Longitude(Real T) {

  const Real Om = Poly(T, 259.183275, -1934.142, 0.002078, 0.0000022);  // node, unreduced
  const Real V = 0.003964 * Sin_Deg(Poly(T, 346.56, 132.87, -0.0091731));  // Venus term
  const Real sinA = Sin_Deg(Poly(T, 51.2, 20.2));
  const Real sinOm = Sin_Deg(Om);

  // Mean longitude L′, the Sun's mean anomaly M, the Moon's M′, the elongation D and the
  // argument of latitude F, each with its periodic corrections.
  const Real Lp = Norm_360(Poly(T, 270.434164, 481267.8831, -0.001133, 0.0000019) +
                           0.000233 * sinA + V + 0.001964 * sinOm);
  const Real M = Norm_360(Poly(T, 358.475833, 35999.0498, -0.00015, -0.0000033) - 0.001778 * sinA);
  const Real Mp = Norm_360(Poly(T, 296.104608, 477198.8491, 0.009192, 0.0000144) +
                           0.000817 * sinA + V + 0.002541 * sinOm);
  const Real D = Norm_360(Poly(T, 350.737486, 445267.1142, -0.001436, 0.0000019) +
                          0.002011 * sinA + V + 0.001964 * sinOm);
  const Real F = Norm_360(Poly(T, 11.250889, 483202.0251, -0.003211, -0.0000003) + V -
                          0.024691 * sinOm - 0.004328 * Sin_Deg(Om + 275.05 - 2.3 * T));

  const Real e = 1.0 - 0.002495 * T - 0.00000752 * (T * T);

  const Real angles[4] = {D, M, Mp, F};
  Real lambda = Lp;
  for (const MoonTerm& term : kMoonTerms) {
    Real value = term.coeff * Sin_Deg(Argument(term.arg, angles));
    for (int k = 0; k < term.ePower; ++k) value = value * e;
    lambda = lambda + value;
  }
  return Norm_360(lambda);
}
