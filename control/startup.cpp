// The start-up computation of the chart control.
#include "control/startup.h"

#include "ephemeris/bodies.h"
#include "ephemeris/real.h"
#include "ephemeris/shared_state.h"

void Compute_Pass() {
  for (BodyRoutine routine : kBodyRoutines) routine();
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
