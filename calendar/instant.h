// Instants given as text (the command line's --at, the web element's at attribute): ISO 8601
// date and time, an optional zone, and the historical calendar (Julian up to 1582-10-04,
// Gregorian from 1582-10-15).
#pragma once

#include <string>
#include <string_view>

#include "calendar/calendar.h"

struct InstantParse {
  enum class Status { Ok, Invalid, CalendarGap } status = Status::Invalid;
  std::string error;  // what was wrong, for Invalid
  CivilTime utc;      // for Ok; for CalendarGap the day as written, at 00:00
};

// Parses "now" or YYYY-MM-DDTHH:MM[:SS] with an optional Z or ±HH:MM zone; without a zone
// the machine's local time. Years 0001..9999 as written, and in UTC. The result is the UTC
// reading.
InstantParse Parse_Instant(std::string_view text);

// The present instant as a UTC reading.
CivilTime Now_Utc();

// "YYYY-MM-DDTHH:MMZ".
std::string Format_Utc_Minute(const CivilTime& t);
