// The steps every zodiac-chart command shares: reading a sign, computing the sky for an
// instant, and turning refusals and faults into exit statuses. Standard library only, so that
// any command or host (a file writer, a server) can include it cheaply.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "ephemeris/time_base.h"

// The sign number of text: "0".."11" (one or two digits), an English sign name in any case,
// or the Arabic caption of a sign label ("برج الأسد"). Returns -1 for anything else.
int Parse_Sign(std::string_view text);

// What came of a step: an exit status and, unless kExitOk, the message for the caller.
struct Outcome {
  int status = kExitOk;
  // kExitUsage: why the input was refused, one line; kExitCalendarGap: the control's Arabic
  // message (kCalendarGapMessage); kExitFault: what went wrong in the computation.
  std::string message;
};

// Reads sign as Parse_Sign does into sign; kExitUsage with the reason when it names none.
Outcome Read_Sign(std::string_view text, int& sign);

// Runs compute, mapping any exception it throws (FloatError from the theories, a range or
// overflow error from the analysis) to kExitFault with the exception's text.
Outcome Run_Guarded(const std::function<void()>& compute);

// The instant a sky was computed for.
struct Sky {
  std::string instant_utc;      // "YYYY-MM-DDTHH:MMZ"
  double julian_day = 0;        // days
  double julian_centuries = 0;  // from JD 2415020.0, before the one-step advance
};

// Reads the instant text and sets the time base for it (Set_Time_Base), then runs compute
// with the UTC reading, guarded as Run_Guarded. kExitUsage with the reason for a malformed or
// impossible instant, kExitCalendarGap for a date in the 1582 gap (compute is then not run).
Outcome Run_At_Instant(std::string_view instant,
                       const std::function<void(const CivilTime&)>& compute);

// Parses the instant text (see Parse_Instant: "now", or ISO 8601 with an optional zone) and
// runs the start-up computation for it, filling the thread's body table (Pln_Rec, Pln_Lon)
// and sky. A malformed or impossible instant gives kExitUsage, a date in the 1582 calendar gap
// kExitCalendarGap, a computation fault kExitFault; the table is then not to be used.
Outcome Compute_Sky(std::string_view instant, Sky& sky);

// Compute_Sky for the instant, then the daily analysis of sign (0..11) into text, as the
// analysis window holds it; the same outcomes as Compute_Sky, and kExitFault when the
// analysis faults.
Outcome Compute_Analysis(std::string_view instant, int sign, Sky& sky, std::string& text);
