// Calendar conversions by the day-number algorithms of Meeus (Astronomical Algorithms, 2nd
// ed., ch. 7: the Julian Day of a date by (7.1), p. 61, and the date of a Julian Day), in
// integer arithmetic.
#include "calendar/calendar.h"

namespace {
constexpr std::int64_t kUnixEpochDay = 2440588;  // 1970-01-01

std::int64_t Floor_Div(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Day number of a date, with the Gregorian correction or without.
std::int64_t Day_Number_In(int year, int month, int day, bool gregorian) {
  std::int64_t y = year, m = month;
  if (m <= 2) {
    y -= 1;
    m += 12;
  }
  std::int64_t b = 0;
  if (gregorian) {
    const std::int64_t a = Floor_Div(y, 100);
    b = 2 - a + Floor_Div(a, 4);
  }
  // (7.1) at noon: ⌊365.25 (y + 4716)⌋ + ⌊30.6001 (m + 1)⌋ + d + b − 1524, exactly in integers.
  return Floor_Div(1461 * (y + 4716), 4) + Floor_Div(306001 * (m + 1), 10000) + day + b - 1524;
}

// Date of a day number in the Gregorian (proleptic before 1582) or the Julian calendar.
void Date_In(std::int64_t jdn, bool gregorian, int& year, int& month, int& day) {
  std::int64_t a = jdn;
  if (gregorian) {
    const std::int64_t alpha = Floor_Div(4 * jdn - 7468865, 146097);  // ⌊(Z − 1867216.25) / 36524.25⌋
    a = jdn + 1 + alpha - Floor_Div(alpha, 4);
  }
  const std::int64_t b = a + 1524;
  const std::int64_t c = Floor_Div(20 * b - 2442, 7305);  // ⌊(B − 122.1) / 365.25⌋
  const std::int64_t d = Floor_Div(1461 * c, 4);
  const std::int64_t e = Floor_Div(10000 * (b - d), 306001);
  day = static_cast<int>(b - d - Floor_Div(306001 * e, 10000));
  month = static_cast<int>(e < 14 ? e - 1 : e - 13);
  year = static_cast<int>(month > 2 ? c - 4716 : c - 4715);
}
}  // namespace

std::int64_t Day_Number(int year, int month, int day) {
  return Day_Number_In(year, month, day, Is_Gregorian_Date(year, month, day));
}

std::int64_t Gregorian_Day_Number(int year, int month, int day) {
  return Day_Number_In(year, month, day, true);
}

void Date_Of_Day_Number(std::int64_t jdn, int& year, int& month, int& day) {
  Date_In(jdn, jdn >= kFirstGregorianDayNumber, year, month, day);
}

void Julian_Date_Of_Day_Number(std::int64_t jdn, int& year, int& month, int& day) {
  Date_In(jdn, false, year, month, day);
}

void Gregorian_Date_Of_Day_Number(std::int64_t jdn, int& year, int& month, int& day) {
  Date_In(jdn, true, year, month, day);
}

int Days_In_Month(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month != 2) return kDays[month - 1];
  const bool leap = Is_Gregorian_Date(year, month, 1)
                        ? (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))
                        : year % 4 == 0;
  return leap ? 29 : 28;
}

std::int64_t Unix_Seconds(const CivilTime& t) {
  return (Day_Number(t.year, t.month, t.day) - kUnixEpochDay) * 86400 + t.hour * 3600 +
         t.minute * 60 + t.second;
}

CivilTime From_Unix_Seconds(std::int64_t seconds) {
  const std::int64_t days = Floor_Div(seconds, 86400);
  const std::int64_t rest = seconds - days * 86400;
  CivilTime t;
  Date_Of_Day_Number(days + kUnixEpochDay, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}
