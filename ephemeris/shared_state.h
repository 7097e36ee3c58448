// The body table and time shared by the ephemeris, the start-up, the drawing and the analysis.
// One copy per user-interface thread (thread_local), zero-filled at the thread's first use:
// every control created on a thread reads and writes the same copy. The time base and the
// start-up write it (the theories are pure functions); it lives with the ephemeris so that
// every layer above reads it without any layer reaching up.
#pragma once

#include <array>
#include <cstdint>

// Body order used by every routine, table slot, loop and text table.
namespace BodyIndex {
inline constexpr int Sun = 0;
inline constexpr int Moon = 1;
inline constexpr int Mercury = 2;
inline constexpr int Venus = 3;
inline constexpr int Mars = 4;
inline constexpr int Jupiter = 5;
inline constexpr int Saturn = 6;
inline constexpr int Uranus = 7;
inline constexpr int Neptune = 8;
inline constexpr int Pluto = 9;
inline constexpr int Count = 10;  // slots 0..9 are used; the tables have 11
}  // namespace BodyIndex

// Booleans kept in tables: 16-bit, -1 for true and 0 for false.
inline constexpr std::int16_t kTrue16 = -1;
inline constexpr std::int16_t kFalse16 = 0;

// One body's record, fields in declaration order.
struct Pln_Record {
  double Lon;          // longitude at the present instant, degrees 0..360
  std::int16_t Retro;  // -1 when the body is retrograde, else 0
  double House;        // signs from the picked sign to the body's sign (0..11), set by the analysis
};

// Julian Day number of the instant (days).
inline thread_local double JulianDay = 0.0;
// Time argument T: Julian centuries of 36525 days from JD 2415020.0.
inline thread_local double JulianCenturies = 0.0;
// The Sun's apparent longitude (degrees) and radius vector (AU), left for the planets.
inline thread_local double Sun_Lon = 0.0;
inline thread_local double Sun_Dist = 0.0;
// Each body routine's latest longitude, degrees 0..360 (slot 10 unused).
inline thread_local std::array<double, 11> Pln_Lon{};
// The present positions and flags (slot 10 unused).
inline thread_local std::array<Pln_Record, 11> Pln_Rec{};

// A copy of the whole table as it stands, to put back later: for a control that shows an
// instant of its own without disturbing the others on its thread, and for timing runs.
struct Shared_Table_Copy {
  double julian_day = JulianDay, julian_centuries = JulianCenturies;
  double sun_lon = Sun_Lon, sun_dist = Sun_Dist;
  std::array<double, 11> lon = Pln_Lon;
  std::array<Pln_Record, 11> rec = Pln_Rec;

  void Restore() const {
    JulianDay = julian_day, JulianCenturies = julian_centuries;
    Sun_Lon = sun_lon, Sun_Dist = sun_dist;
    Pln_Lon = lon;
    Pln_Rec = rec;
  }
};
