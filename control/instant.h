// The control's instants: an instant given as text (calendar/instant.h) set as the time base.
#pragma once

#include <string_view>

#include "calendar/instant.h"
#include "ephemeris/time_base.h"

// Parse_Instant, then the time base (Calc_Time) for the UTC reading: the one guard of the 1582
// calendar gap for every command. CalendarGap for a date in the gap as written, and for a UTC
// reading that a zone offset moved into the span Calc_Time refuses; the time base is then
// unchanged. Raises FloatError on a fault.
InstantParse Set_Time_Base(std::string_view text);
