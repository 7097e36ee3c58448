// Uranus and Neptune: element polynomials with the short perturbation series in the slow
// argument H (Meeus, Astronomical Formulae for Calculators, 4th ed. (1988), ch. 24
// 'Planets: Principal Perturbations'); Pluto: elements linear in T.
#include <iterator>

#include "ephemeris/bodies.h"
#include "ephemeris/degrees.h"
#include "ephemeris/elements.h"
#include "ephemeris/perturbations.h"

namespace {
// ΔL and S in degrees; Δe and Δa in millionths.
constexpr PerturbTerm kUranusDL[] = {
    {+0.036, 0, 0, kSin2H, kOne},
    {+0.8643, 0, 0, kSinH, kOne},
    {0.0822, -0.0068, 0, kCosH, kOne},
};
constexpr PerturbTerm kUranusDe[] = {
    {+2098, 0, 0, kCosH, kOne},
    {-335, 0, 0, kSinH, kOne},
    {+131, 0, 0, kCos2H, kOne},
};
constexpr PerturbTerm kUranusDa[] = {
    {-3825, 0, 0, kCosH, kOne},
};
constexpr PerturbTerm kUranusS[] = {
    {+0.1203, 0, 0, kSinH, kOne},
    {+0.0195, 0, 0, kCosH, kOne},
    {+0.0062, 0, 0, kSin2H, kOne},
};
constexpr PerturbTerm kNeptuneDL[] = {
    {-0.5898, 0, 0, kSinH, kOne},
    {-0.0561, 0, 0, kCosH, kOne},
    {-0.0243, 0, 0, kSin2H, kOne},
};
constexpr PerturbTerm kNeptuneDe[] = {
    {+426, 0, 0, kCosH, kOne},
    {+439, 0, 0, kSinH, kOne},
    {+113, 0, 0, kSin2H, kOne},
    {+109, 0, 0, kCos2H, kOne},
};
constexpr PerturbTerm kNeptuneDa[] = {
    {+8189, 0, 0, kCosH, kOne},
    {-817, 0, 0, kSinH, kOne},
    {+781, 0, 0, kCos2H, kOne},
};
constexpr PerturbTerm kNeptuneS[] = {
    {+0.024, 0, 0, kSinH, kOne},
    {-0.0253, 0, 0, kCosH, kOne},
};

// Element polynomials; angles in degrees, a in AU.
constexpr PlanetElements kUranus = {
    {244.19747, 429.863546, 0.000316, -0.0000006},            // L
    {19.21814, 0, 0, 0},                                      // a
    {0.0463444, -0.00002658, 0.000000077, 0},                 // e
    {0.772464, 0.0006253, 0.0000395, 0},                      // i
    {98.071581, 0.985765, -0.0010745, -0.00000061},           // ω
    {73.477111, 0.4986678, 0.0013117, 0},                     // Ω
};
constexpr PlanetElements kNeptune = {
    {84.457994, 219.885914, 0.0003205, -0.0000006},           // L
    {30.10957, 0, 0, 0},                                      // a
    {0.00899704, 0.00000633, -0.000000002, 0},                // e
    {1.779242, -0.0095436, -0.0000091, 0},                    // i
    {276.045975, 0.3256394, 0.00014095, 0.000004113},         // ω
    {130.681389, 1.098935, 0.00024987, -0.000004718},         // Ω
};
constexpr PlanetElements kPluto = {
    {92.59402925, 146.35677075, 0, 0},                        // L
    {39.482455891535, -0.000769121535, 0, 0},                 // a
    {0.2487430100195, 0.0000646499805, 0, 0},                 // e
    {17.1386750004275, 0.0030749995725, 0, 0},                // i
    {113.789656667, -0.0367361145, 0, 0},                     // ω
    {110.3138394475, -0.0103694475, 0, 0},                    // Ω
};

constexpr Perturbation_Series kUranusSeries = {Series_Of(kUranusDL), Series_Of(kUranusDe),
                                              Series_Of(kUranusDa), Series_Of(kUranusS)};
constexpr Perturbation_Series kNeptuneSeries = {Series_Of(kNeptuneDL), Series_Of(kNeptuneDe),
                                               Series_Of(kNeptuneDa), Series_Of(kNeptuneS)};

// Longitude of Uranus or Neptune: their elements corrected by the four series in the slow
// argument H at T.
Real Ice_Giant_Longitude(const PlanetElements& el, const Perturbation_Series& series, Real T,
                         const Sun_Place& sun) {
  const Real nu = T / 5.0 + 0.1;  // enters only Uranus's cos H term
  const Real H = 284.02 + 8.51 * T;
  const Real H2 = H + H;

  TrigValues trig;
  trig.v[kSinH] = Sin_Deg(H), trig.v[kCosH] = Cos_Deg(H);
  trig.v[kSin2H] = Sin_Deg(H2), trig.v[kCos2H] = Cos_Deg(H2);

  return Planet_Longitude(el, T, sun, Sum_Perturbations(series, trig, nu));
}
}  // namespace

Real Uranus_Longitude(Real T, const Sun_Place& sun) {
  return Ice_Giant_Longitude(kUranus, kUranusSeries, T, sun);
}
Real Neptune_Longitude(Real T, const Sun_Place& sun) {
  return Ice_Giant_Longitude(kNeptune, kNeptuneSeries, T, sun);
}
Real Pluto_Longitude(Real T, const Sun_Place& sun) { return Planet_Longitude(kPluto, T, sun); }
