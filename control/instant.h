// Instants given as text (the command line's --at, the web element's at attribute): ISO 8601
// date and time, an optional zone, and the historical calendar (Julian up to 1582-10-04,
// Gregorian from 1582-10-15).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ephemeris/time_base.h"

// Day number (Julian Day Number at noon) of a date of the historical calendar.
std::int64_t Day_Number(int year, int month, int day);
// The date of the historical calendar for a day number.
void Date_Of_Day_Number(std::int64_t jdn, int& year, int& month, int& day);
// Days in a month of the historical calendar (Julian leap years before 1582).
int Days_In_Month(int year, int month);

struct InstantParse {
  enum class Status { Ok, Invalid, CalendarGap } status = Status::Invalid;
  std::string error;  // what was wrong, for Invalid
  CivilTime utc;      // for Ok; for CalendarGap the day as written, at 00:00
};

// Parses "now" or YYYY-MM-DDTHH:MM[:SS] with an optional Z or ±HH:MM zone; without a zone
// the machine's local time. Years 0001..9999 as written, and in UTC. The result is the UTC
// reading.
InstantParse Parse_Instant(std::string_view text);

// Parse_Instant, then the time base (Calc_Time) for the UTC reading: the one guard of the 1582
// calendar gap for every command. CalendarGap for a date in the gap as written, and for a UTC
// reading that a zone offset moved into the span Calc_Time refuses; the time base is then
// unchanged. Raises FloatError on a fault.
InstantParse Set_Time_Base(std::string_view text);

// Seconds since 1970-01-01T00:00Z of a UTC reading of the historical calendar, and back.
std::int64_t Unix_Seconds(const CivilTime& t);
CivilTime From_Unix_Seconds(std::int64_t seconds);

// The present instant as a UTC reading.
CivilTime Now_Utc();

// "YYYY-MM-DDTHH:MMZ".
std::string Format_Utc_Minute(const CivilTime& t);
