#include "ephemeris/float_check.h"

void Throw_Float_Error() { throw FloatError(); }

namespace {
thread_local Fault_Probe tl_probe = nullptr;
}  // namespace

void Set_Fault_Probe(Fault_Probe probe) { tl_probe = probe; }

void Probe_Step(int step) {
  if (tl_probe) tl_probe(step);
}
