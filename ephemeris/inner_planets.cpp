// Mercury, Venus and Mars: unperturbed elements (Meeus, Astronomical Formulae for
// Calculators, 4th ed. (1988), ch. 23 'Elements of the Planetary Orbits') through the orbit solver.
#include "ephemeris/bodies.h"
#include "ephemeris/degrees.h"
#include "ephemeris/elements.h"

namespace {
// Angles in degrees, a in AU; constant, T, T², T³.
constexpr PlanetElements kMercury = {
    {178.179078, 149474.07078, 0.0003011, 0},     // L
    {0.3870986, 0, 0, 0},                         // a
    {0.20561421, 0.00002046, -0.00000003, 0},     // e
    {7.002881, 0.0018608, -0.0000183, 0},         // i
    {28.753753, 0.3702806, 0.0001208, 0},         // ω
    {47.145944, 1.1852083, 0.0001739, 0},         // Ω
};
constexpr PlanetElements kVenus = {
    {342.767053, 58519.21191, 0.0003097, 0},      // L
    {0.7233316, 0, 0, 0},                         // a
    {0.00682069, -0.00004774, -0.000000091, 0},   // e
    {3.393631, 0.0010058, -0.000001, 0},          // i
    {54.384186, 0.5081861, -0.0013864, 0},        // ω
    {75.779647, 0.89985, 0.00041, 0},             // Ω
};
constexpr PlanetElements kMars = {
    {293.737334, 19141.69551, 0.0003107, 0},             // L
    {1.5236883, 0, 0, 0},                                // a
    {0.0933129, 0.000092064, -0.000000077, 0},           // e
    {1.850333, -0.000675, 0.0000126, 0},                 // i
    {285.431761, 1.0697667, 0.0001313, 0.00000414},      // ω
    {48.786442, 0.7709917, -0.0000014, -0.00000533},     // Ω
};
}  // namespace

Real Mercury_Longitude(Real T, const Sun_Place& sun) { return Planet_Longitude(kMercury, T, sun); }
Real Venus_Longitude(Real T, const Sun_Place& sun) { return Planet_Longitude(kVenus, T, sun); }
Real Mars_Longitude(Real T, const Sun_Place& sun) { return Planet_Longitude(kMars, T, sun); }
