// State of the daily analysis, shared like the body table: one copy per user-interface thread
// (thread_local), zero at the thread's first use, read and written by every control on it.
#pragma once

#include <array>
#include <cstdint>

// The picked sign, 0 Aries .. 11 Pisces; written by the window opener before Calc_Houses.
inline thread_local std::int16_t Sel_Sign = 0;
// Aspect score per body in BodyIndex order; slots 0..9 refilled by Calc_Scores, slot 10 unused.
inline thread_local std::array<std::int16_t, 11> Pln_Score{};
// Per-body flag read by Calc_Scores (0 adds 1, anything else subtracts 1). Nothing writes it,
// so it stays all zero.
inline thread_local std::array<std::int16_t, 11> Score_Flag{};
