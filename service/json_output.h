// The positions and analysis as JSON, for the command line's --json and the server's API.
// One object per call, on one line, keys in a fixed order; numbers read back to the same
// doubles, whole numbers written without a fraction.
#pragma once

#include <string>

#include "service/sky.h"

// {"instant_utc", "julian_day", "julian_centuries", "bodies": [{"index", "name", "lon",
// "lon_next", "retro", "sign", "tooltip"} x 10]} from computed and the thread's body table.
std::string Positions_Json(const Computed_Instant& computed);

// {"instant_utc", "sign", "caption", "houses": [10], "scores": [10], "text"} for sign
// (0..11) after the analysis has run on the thread's body table; text as the window holds it,
// with "\r\n" line breaks. A sign outside 0..11 raises std::out_of_range.
std::string Analysis_Json(const Computed_Instant& computed, int sign, const std::string& text);
