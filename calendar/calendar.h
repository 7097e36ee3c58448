// The historical calendar: the Julian calendar up to 1582-10-04, the Gregorian from
// 1582-10-15 (the reform skipped the ten days between), and day numbers (the Julian Day
// Number of a date at noon). Every host and the time base take the reform from here.
#pragma once

#include <cstdint>

// A clock reading in universal time. Seconds are carried but not used: the instant is
// truncated to the whole minute.
struct CivilTime {
  int year = 2000;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59, ignored
};

// The reform as dates written YYYYMMDD (year * 10000 + month * 100 + day): the last day of
// the Julian calendar and the first of the Gregorian.
inline constexpr std::int64_t kLastJulianDate = 15821004;
inline constexpr std::int64_t kFirstGregorianDate = 15821015;
// Day number of 1582-10-15, the first Gregorian day.
inline constexpr std::int64_t kFirstGregorianDayNumber = 2299161;

// year * 10000 + month * 100 + day, which orders dates as the calendar does.
constexpr std::int64_t Date_Key(int year, int month, int day) {
  return std::int64_t{year} * 10000 + month * 100 + day;
}

// Whether a date as written (month 1..12, day 0..99) is of the Gregorian calendar, and
// whether it is one of the days the reform skipped.
constexpr bool Is_Gregorian_Date(int year, int month, int day) {
  return Date_Key(year, month, day) >= kFirstGregorianDate;
}
constexpr bool In_Calendar_Gap(int year, int month, int day) {
  const std::int64_t key = Date_Key(year, month, day);
  return key > kLastJulianDate && key < kFirstGregorianDate;
}

// Day number of a date of the historical calendar.
std::int64_t Day_Number(int year, int month, int day);
// Day number of a date of the Gregorian calendar, also before 1582 (proleptic).
std::int64_t Gregorian_Day_Number(int year, int month, int day);
// The date of the historical calendar for a day number.
void Date_Of_Day_Number(std::int64_t jdn, int& year, int& month, int& day);
// The date of the Julian calendar, or of the Gregorian calendar (proleptic before 1582), for a
// day number.
void Julian_Date_Of_Day_Number(std::int64_t jdn, int& year, int& month, int& day);
void Gregorian_Date_Of_Day_Number(std::int64_t jdn, int& year, int& month, int& day);
// Days in a month of the historical calendar (Julian leap years up to 1582).
int Days_In_Month(int year, int month);

// Seconds since 1970-01-01T00:00Z of a UTC reading of the historical calendar, and back.
std::int64_t Unix_Seconds(const CivilTime& t);
CivilTime From_Unix_Seconds(std::int64_t seconds);
