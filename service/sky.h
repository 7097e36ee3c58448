// The steps every host's output shares: reading a sign, computing the sky for an instant, and
// turning refusals and faults into outcomes. Standard library only, so that any command or
// host (a file writer, a server) can include it cheaply.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ephemeris/time_base.h"
#include "service/outcome.h"

// The sign number of text: "0".."11" (one or two digits), an English sign name in any case,
// or the Arabic caption of a sign label ("برج الأسد"). Returns -1 for anything else.
int Parse_Sign(std::string_view text);

// Reads sign as Parse_Sign does into sign; Bad_Input with the reason when it names none.
Outcome Read_Sign(std::string_view text, int& sign);

// Runs compute, mapping any exception it throws (FloatError from the theories, a range or
// overflow error from the analysis) to Fault with the exception's text.
Outcome Run_Guarded(const std::function<void()>& compute);

// The instant the thread's body table was computed for.
struct Computed_Instant {
  std::string instant_utc;      // "YYYY-MM-DDTHH:MMZ"
  double julian_day = 0;        // days
  double julian_centuries = 0;  // from JD 2415020.0, before the one-step advance
};

// Reads the instant text and sets the time base for it (Set_Time_Base), then runs compute
// with the UTC reading, guarded as Run_Guarded. Bad_Input with the reason for a malformed or
// impossible instant, Calendar_Gap for a date in the 1582 gap (compute is then not run).
Outcome Run_At_Instant(std::string_view instant,
                       const std::function<void(const CivilTime&)>& compute);

// Parses the instant text (see Parse_Instant: "now", or ISO 8601 with an optional zone) and
// runs the start-up computation for it, filling the thread's body table (Pln_Rec, Pln_Lon)
// and computed. A malformed or impossible instant gives Bad_Input, a date in the 1582 calendar
// gap Calendar_Gap, a computation fault Fault; the table is then not to be used.
Outcome Compute_Sky(std::string_view instant, Computed_Instant& computed);

// Compute_Sky for the instant, then the daily analysis of sign (0..11) into text, as the
// analysis window holds it; the same outcomes as Compute_Sky, and Fault when the analysis
// faults.
Outcome Compute_Analysis(std::string_view instant, int sign, Computed_Instant& computed,
                         std::string& text);
