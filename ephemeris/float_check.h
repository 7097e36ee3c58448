// Floating-point fault checking: every computed value passes through Chk, so an invalid
// operation, a division by zero or an overflow (all of which leave a non-finite value)
// abandons the running routine with FloatError. Checked by value, not through <cfenv>
// flags, because WebAssembly has no floating-point status flags.
#pragma once

#include <cmath>
#include <stdexcept>
#include <type_traits>

// The system's run-time floating-point error. Nothing in the computation catches it; it
// travels up to the host's event or method call, leaving values written before it.
class FloatError : public std::runtime_error {
 public:
  FloatError() : std::runtime_error("floating-point fault (overflow, division by zero or invalid operation)") {}
};

// Throws FloatError. Out of line, so that the check below, made at every step of every
// formula, stays a comparison and a branch wherever the compiler puts it inline, even when it
// optimises for size (the WebAssembly build); constructing the exception there would not.
[[noreturn, gnu::cold, gnu::noinline]] void Throw_Float_Error();

// Returns x unchanged, or throws FloatError when x is infinite or not a number.
constexpr double Chk(double x) {
  if (std::is_constant_evaluated() ? !(x - x == 0.0) : !std::isfinite(x)) Throw_Float_Error();
  return x;
}

// For tests: a probe called on this thread at each guarded step, with the step's number: the
// body routines of a pass (their slots 0..9) and the analysis of a sign (kAnalysisStep). One
// that throws FloatError reaches the fault path, which no instant of years 0001..9999 reaches
// through the theories. The products never set one; nullptr removes it.
inline constexpr int kAnalysisStep = 10;
using Fault_Probe = void (*)(int step);
void Set_Fault_Probe(Fault_Probe probe);
void Probe_Step(int step);
