// The start-up computation of the chart control: the only writer of the body table, from the
// pure theories of the ephemeris.
#include "control/startup.h"

#include "ephemeris/bodies.h"
#include "ephemeris/float_check.h"
#include "ephemeris/real.h"
#include "ephemeris/shared_state.h"

void Calc_Sun() {
  const Sun_Place sun = Sun_Position(JulianCenturies);
  Sun_Dist = sun.Dist.value();
  Sun_Lon = sun.Lon.value();
  Pln_Lon[BodyIndex::Sun] = sun.Lon.value();
}

void Calc_Moon() { Pln_Lon[BodyIndex::Moon] = Moon_Longitude(JulianCenturies).value(); }

namespace {
// Runs planet `slot`'s theory at T, seen from the Sun's place left in the table.
void Place_Planet(int slot) {
  const Sun_Place sun = {Sun_Lon, Sun_Dist};
  Pln_Lon[slot] = kPlanetTheories[slot - BodyIndex::Mercury](JulianCenturies, sun).value();
}
}  // namespace

void Calc_Mercury() { Place_Planet(BodyIndex::Mercury); }
void Calc_Venus() { Place_Planet(BodyIndex::Venus); }
void Calc_Mars() { Place_Planet(BodyIndex::Mars); }
void Calc_Jupiter() { Place_Planet(BodyIndex::Jupiter); }
void Calc_Saturn() { Place_Planet(BodyIndex::Saturn); }
void Calc_Uranus() { Place_Planet(BodyIndex::Uranus); }
void Calc_Neptune() { Place_Planet(BodyIndex::Neptune); }
void Calc_Pluto() { Place_Planet(BodyIndex::Pluto); }

void Compute_Pass() {
  for (int k = 0; k < BodyIndex::Count; ++k) {
    Probe_Step(k);
    kBodyRoutines[k]();
  }
}

void Apply_Retrograde_Rule() {
  for (int k = 0; k < BodyIndex::Count; ++k) {
    Pln_Record& rec = Pln_Rec[k];
    if (k == BodyIndex::Moon) {
      rec.Retro = kFalse16;
      continue;
    }
    Real d = Real(Pln_Lon[k]) - rec.Lon;
    if (d < 0) {
      rec.Retro = kTrue16;
      if (d < -3) {
        d = d + 360;
        rec.Retro = kFalse16;
      }
    }
    if (d > 0) {
      rec.Retro = kFalse16;
      if (d > 3) rec.Retro = kTrue16;
    }
  }
}

void Compute_Positions() {
  Compute_Pass();
  for (int k = 0; k < BodyIndex::Count; ++k) Pln_Rec[k].Lon = Pln_Lon[k];
  JulianCenturies = (Real(JulianCenturies) + kRetroStep).value();
  Compute_Pass();
  Apply_Retrograde_Rule();
}

bool Startup_Compute(const CivilTime& utc, Platform& platform) {
  const bool accepted = Calc_Time(utc);
  if (!accepted) platform.Message_Box(kCalendarGapMessage, kStopIconOk);
  Compute_Positions();
  return accepted;
}
