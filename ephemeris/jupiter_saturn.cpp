// Jupiter and Saturn: element polynomials corrected for their mutual perturbations, the great
// inequality and its companions (Meeus, Astronomical Formulae for Calculators, 4th ed. (1988),
// ch. 24 'Planets: Principal Perturbations').
#include <iterator>

#include "ephemeris/bodies.h"
#include "ephemeris/degrees.h"
#include "ephemeris/elements.h"
#include "ephemeris/perturbations.h"

namespace {
// ΔL in degrees; Δe and Δa in millionths; S, the perihelion series, in degrees.
constexpr PerturbTerm kJupiterDL[] = {
    {0.3314, -0.0103, -0.0047, kSinV, kOne},
    {0.0032, -0.0644, 0.0021, kCosV, kOne},
    {+0.0136, 0, 0, kSinZ, kOne},
    {+0.0185, 0, 0, kSin2Z, kOne},
    {+0.0067, 0, 0, kSin3Z, kOne},
    {+0.0073, 0, 0, kSinZ, kSinQ},
    {+0.0064, 0, 0, kSin2Z, kSinQ},
    {-0.0338, 0, 0, kCosZ, kSinQ},
    {-0.0357, 0, 0, kSinZ, kCosQ},
    {-0.0063, 0, 0, kCosZ, kCosQ},
    {-0.0067, 0, 0, kCos2Z, kCosQ},
};
static_assert(std::size(kJupiterDL) == 11);

constexpr PerturbTerm kJupiterDe[] = {
    {129, -58, 0, kCosV, kOne},
    {361, 13, 0, kSinV, kOne},
    {+128, 0, 0, kCosZ, kSinQ},
    {-676, 0, 0, kSinZ, kSinQ},
    {-111, 0, 0, kSin2Z, kSinQ},
    {+146, 0, 0, kSinZ, kCosQ},
    {-82, 0, 0, kCosQ, kOne},
    {+607, 0, 0, kCosZ, kCosQ},
    {+99, 0, 0, kCos2Z, kCosQ},
    {+51, 0, 0, kCos3Z, kCosQ},
    {-100, 0, 0, kCosZ, kSin2Q},
    {-96, 0, 0, kSinZ, kSin2Q},
    {-96, 0, 0, kSinZ, kCos2Q},
    {+102, 0, 0, kCosZ, kCos2Q},
};
static_assert(std::size(kJupiterDe) == 14);

constexpr PerturbTerm kJupiterS[] = {
    {0.0072, -0.0031, 0, kSinV, kOne},
    {-0.0204, 0, 0, kCosV, kOne},
    {+0.034, 0, 0, kCosZ, kSinQ},
    {+0.0073, 0, 0, kSinZ, kSinQ},
    {+0.0056, 0, 0, kCos2Z, kSinQ},
    {+0.0378, 0, 0, kSinZ, kCosQ},
    {+0.0062, 0, 0, kSin2Z, kCosQ},
    {-0.0066, 0, 0, kCosZ, kCosQ},
    {-0.0054, 0, 0, kSinZ, kSin2Q},
    {+0.0055, 0, 0, kCosZ, kCos2Q},
};
static_assert(std::size(kJupiterS) == 10);

constexpr PerturbTerm kJupiterDa[] = {
    {+205, 0, 0, kCosZ, kOne},
    {-263, 0, 0, kCosV, kOne},
    {+693, 0, 0, kCos2Z, kOne},
    {+312, 0, 0, kCos3Z, kOne},
    {+299, 0, 0, kSinZ, kSinQ},
    {+204, 0, 0, kSin2Z, kCosQ},
    {-337, 0, 0, kCosZ, kCosQ},
};
static_assert(std::size(kJupiterDa) == 7);

constexpr PerturbTerm kSaturnDL[] = {
    {-0.8142, 0.0181, 0.0167, kSinV, kOne},
    {-0.0105, 0.1609, -0.0041, kCosV, kOne},
    {-0.1488, 0, 0, kSinZ, kOne},
    {-0.0408, 0, 0, kSin2Z, kOne},
    {-0.0152, 0, 0, kSin3Z, kOne},
    {+0.0089, 0, 0, kSinZ, kSinQ},
    {-0.0165, 0, 0, kSin2Z, kSinQ},
    {+0.015, 0, 0, kCos2Z, kSinQ},
    {+0.0813, 0, 0, kCosZ, kSinQ},
    {+0.0856, 0, 0, kSinZ, kCosQ},
    {+0.0253, 0, 0, kCosZ, kCosQ},
    {+0.0144, 0, 0, kCos2Z, kCosQ},
    {+0.0092, 0, 0, kSin2Z, kSin2Q},
};
static_assert(std::size(kSaturnDL) == 13);

constexpr PerturbTerm kSaturnDe[] = {
    {1338, 123, 0, kCosV, kOne},
    {-793, 255, 0, kSinV, kOne},
    {+1241, 0, 0, kSinQ, kOne},
    {39, -62, 0, kSinZ, kSinQ},
    {+2660, 0, 0, kCosZ, kSinQ},
    {-469, 0, 0, kCos2Z, kSinQ},
    {-187, 0, 0, kCos3Z, kSinQ},
    {-82, 0, 0, kCos4Z, kSinQ},
    {-420, 0, 0, kSin2Z, kCosQ},
    {-1270, 0, 0, kSinZ, kCosQ},
    {-150, 0, 0, kSin3Z, kCosQ},
    {-62, 0, 0, kSin4Z, kCosQ},
    {+221, 0, 0, kSinZ, kSin2Q},
    {-221, 0, 0, kSin2Z, kSin2Q},
    {-57, 0, 0, kSin3Z, kSin2Q},
    {-278, 0, 0, kCosZ, kSin2Q},
    {+202, 0, 0, kCos2Z, kSin2Q},
    {-159, 0, 0, kCosZ, kCos2Q},
    {-284, 0, 0, kSinZ, kCos2Q},
    {+56, 0, 0, kCos3Z, kCos2Q},
    {+216, 0, 0, kCos2Z, kCos2Q},
};
static_assert(std::size(kSaturnDe) == 21);

constexpr PerturbTerm kSaturnS[] = {
    {0.0771, 0.0072, 0, kSinV, kOne},
    {0.0458, -0.0148, 0, kCosV, kOne},
    {-0.0758, 0, 0, kSinZ, kSinQ},
    {-0.0248, 0, 0, kSin2Z, kSinQ},
    {-0.0086, 0, 0, kSin3Z, kSinQ},
    {-0.0726, 0, 0, kCosQ, kOne},
    {-0.1504, 0, 0, kCosZ, kCosQ},
    {+0.0269, 0, 0, kCos2Z, kCosQ},
    {+0.0101, 0, 0, kCos3Z, kCosQ},
    {-0.0136, 0, 0, kSinZ, kSin2Q},
    {+0.0136, 0, 0, kCos2Z, kSin2Q},
    {-0.0137, 0, 0, kSinZ, kCos2Q},
    {+0.012, 0, 0, kSin2Z, kCos2Q},
    {+0.0149, 0, 0, kCosZ, kCos2Q},
    {-0.0131, 0, 0, kCos2Z, kCos2Q},
};
static_assert(std::size(kSaturnS) == 15);

constexpr PerturbTerm kSaturnDa[] = {
    {+33629, 0, 0, kCosZ, kOne},
    {+2933, 0, 0, kCosV, kOne},
    {-3081, 0, 0, kCos2Z, kOne},
    {-1423, 0, 0, kCos3Z, kOne},
    {-671, 0, 0, kCos4Z, kOne},
    {+1098, 0, 0, kSinQ, kOne},
    {-2812, 0, 0, kSinZ, kSinQ},
    {+688, 0, 0, kSin2Z, kSinQ},
    {+2138, 0, 0, kCosZ, kSinQ},
    {-999, 0, 0, kCos2Z, kSinQ},
    {-642, 0, 0, kCos3Z, kSinQ},
    {-890, 0, 0, kCosQ, kOne},
    {+2206, 0, 0, kSinZ, kCosQ},
    {-1590, 0, 0, kSin2Z, kCosQ},
    {-647, 0, 0, kSin3Z, kCosQ},
    {+2172, 0, 0, kCos2Z, kCosQ},
    {+2885, 0, 0, kCosZ, kCosQ},
    {-778, 0, 0, kCosZ, kSin2Q},
    {-856, 0, 0, kSinZ, kCos2Q},
};
static_assert(std::size(kSaturnDa) == 19);

// Element polynomials; angles in degrees, a in AU.
constexpr PlanetElements kJupiter = {
    {238.049257, 3036.301986, 0.0003347, -0.00000165},       // L
    {5.202561, 0, 0, 0},                                     // a
    {0.04833475, 0.00016418, -0.0000004676, -0.0000000017},  // e
    {1.308736, -0.0056961, 0.0000039, 0},                    // i
    {273.277558, 0.5994317, 0.00070405, 0.00000508},         // ω
    {99.443414, 1.01053, 0.00035222, -0.00000851},           // Ω
};
constexpr PlanetElements kSaturn = {
    {266.564377, 1223.509884, 0.0003245, -0.0000058},        // L
    {9.554747, 0, 0, 0},                                     // a
    {0.05589232, -0.0003455, -0.000000728, 0.00000000074},   // e
    {2.492519, -0.0039189, -0.00001549, 0.00000004},         // i
    {338.3078, 1.0852207, 0.00097854, 0.00000992},           // ω
    {112.790414, 0.8731951, -0.00015218, -0.00000531},       // Ω
};

constexpr Perturbation_Series kJupiterSeries = {Series_Of(kJupiterDL), Series_Of(kJupiterDe),
                                               Series_Of(kJupiterDa), Series_Of(kJupiterS)};
constexpr Perturbation_Series kSaturnSeries = {Series_Of(kSaturnDL), Series_Of(kSaturnDe),
                                              Series_Of(kSaturnDa), Series_Of(kSaturnS)};

// Longitude of Jupiter or Saturn: their elements corrected by the four series in the
// arguments ν, P, Q, V and ζ at T.
Real Giant_Longitude(const PlanetElements& el, const Perturbation_Series& series, Real T,
                     const Sun_Place& sun) {
  // Shared arguments, none reduced: ν, P, Q, V = 5Q − 2P, ζ = Q − P.
  const Real nu = T / 5.0 + 0.1;
  const Real P = 237.475 + 3034.9061 * T;
  const Real Q = 265.916 + 1222.1139 * T;
  const Real V = 5.0 * Q - 2.0 * P;
  const Real Z = Q - P;
  const Real Z2 = Z + Z, Z3 = 3.0 * Z, Z4 = 4.0 * Z, Q2 = Q + Q;

  TrigValues trig;
  trig.v[kSinV] = Sin_Deg(V), trig.v[kCosV] = Cos_Deg(V);
  trig.v[kSinZ] = Sin_Deg(Z), trig.v[kCosZ] = Cos_Deg(Z);
  trig.v[kSin2Z] = Sin_Deg(Z2), trig.v[kCos2Z] = Cos_Deg(Z2);
  trig.v[kSin3Z] = Sin_Deg(Z3), trig.v[kCos3Z] = Cos_Deg(Z3);
  trig.v[kSin4Z] = Sin_Deg(Z4), trig.v[kCos4Z] = Cos_Deg(Z4);
  trig.v[kSinQ] = Sin_Deg(Q), trig.v[kCosQ] = Cos_Deg(Q);
  trig.v[kSin2Q] = Sin_Deg(Q2), trig.v[kCos2Q] = Cos_Deg(Q2);

  return Planet_Longitude(el, T, sun, Sum_Perturbations(series, trig, nu));
}
}  // namespace

Real Jupiter_Longitude(Real T, const Sun_Place& sun) {
  return Giant_Longitude(kJupiter, kJupiterSeries, T, sun);
}
Real Saturn_Longitude(Real T, const Sun_Place& sun) {
  return Giant_Longitude(kSaturn, kSaturnSeries, T, sun);
}
