// Instants given as text, read into a UTC reading of the historical calendar.
#include "calendar/instant.h"

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace {
bool Read_Digits(std::string_view s, std::size_t pos, std::size_t n, int& value) {
  if (pos + n > s.size()) return false;
  value = 0;
  for (std::size_t k = pos; k < pos + n; ++k) {
    if (s[k] < '0' || s[k] > '9') return false;
    value = value * 10 + (s[k] - '0');
  }
  return true;
}

InstantParse Invalid(std::string why) {
  InstantParse r;
  r.status = InstantParse::Status::Invalid;
  r.error = std::move(why);
  return r;
}

// value in decimal with at least width digits (zeros in front), as printf's %0*d writes it.
void Append_Digits(std::string& text, int value, int width) {
  if (value < 0) {
    text += '-';
    --width;
  }
  char digits[12];
  int n = 0;
  unsigned rest = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[n++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  for (; width > n; --width) text += '0';
  while (n > 0) text += digits[--n];
}
}  // namespace

InstantParse Parse_Instant(std::string_view s) {
  if (s == "now") {
    InstantParse r;
    r.status = InstantParse::Status::Ok;
    r.utc = Now_Utc();
    return r;
  }
  int y, mo, d, h, mi, sec = 0;
  if (!Read_Digits(s, 0, 4, y) || s.size() < 16 || s[4] != '-' || !Read_Digits(s, 5, 2, mo) ||
      s[7] != '-' || !Read_Digits(s, 8, 2, d) || (s[10] != 'T' && s[10] != 't') ||
      !Read_Digits(s, 11, 2, h) || s[13] != ':' || !Read_Digits(s, 14, 2, mi)) {
    return Invalid("expected YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM|-HH:MM] or 'now'");
  }
  std::size_t pos = 16;
  if (pos < s.size() && s[pos] == ':') {
    if (!Read_Digits(s, pos + 1, 2, sec)) return Invalid("seconds must be two digits");
    pos += 3;
  }
  bool has_zone = false;
  int zone_minutes = 0;
  if (pos < s.size()) {
    const char z = s[pos];
    if ((z == 'Z' || z == 'z') && pos + 1 == s.size()) {
      has_zone = true;
    } else if ((z == '+' || z == '-') && pos + 6 == s.size() && s[pos + 3] == ':') {
      int zh, zm;
      if (!Read_Digits(s, pos + 1, 2, zh) || !Read_Digits(s, pos + 4, 2, zm) || zh > 23 || zm > 59)
        return Invalid("zone offset must be +HH:MM or -HH:MM within 23:59");
      has_zone = true;
      zone_minutes = (zh * 60 + zm) * (z == '-' ? -1 : 1);
    } else {
      return Invalid("unexpected text after the time: '" + std::string(s.substr(pos)) + "'");
    }
  }
  if (y < 1 || y > 9999) return Invalid("year must be 0001..9999");
  if (mo < 1 || mo > 12) return Invalid("month must be 01..12");
  if (In_Calendar_Gap(y, mo, d)) {
    // No UTC reading exists for a day the reform skipped; the day as written is kept so that
    // a control given it meets the time base's own refusal.
    InstantParse r;
    r.status = InstantParse::Status::CalendarGap;
    r.utc = {y, mo, d, 0, 0, 0};
    return r;
  }
  if (d < 1 || d > Days_In_Month(y, mo)) return Invalid("day out of range for the month");
  if (h > 23) return Invalid("hour must be 00..23");
  if (mi > 59) return Invalid("minute must be 00..59");
  if (sec > 59) return Invalid("seconds must be 00..59");

  std::int64_t seconds = Unix_Seconds({y, mo, d, h, mi, sec});
  if (has_zone) {
    seconds -= zone_minutes * 60;
  } else {
    // Local civil time: let the C library's zone rules find the offset, on the proleptic
    // Gregorian form of the same day.
    int gy, gm, gd;
    Gregorian_Date_Of_Day_Number(Day_Number(y, mo, d), gy, gm, gd);
    std::tm tm{};
    tm.tm_year = gy - 1900;
    tm.tm_mon = gm - 1;
    tm.tm_mday = gd;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = sec;
    tm.tm_isdst = -1;
    errno = 0;
    const std::time_t local = std::mktime(&tm);
    if (local == static_cast<std::time_t>(-1) && errno != 0)
      return Invalid("the local time zone cannot place this instant");
    seconds = static_cast<std::int64_t>(local);
  }
  InstantParse r;
  r.status = InstantParse::Status::Ok;
  r.utc = From_Unix_Seconds(seconds);
  // A zone can move the first or last day of the range over its edge.
  if (r.utc.year < 1 || r.utc.year > 9999)
    return Invalid("in UTC the instant falls outside 0001-01-01..9999-12-31");
  return r;
}

CivilTime Now_Utc() { return From_Unix_Seconds(static_cast<std::int64_t>(std::time(nullptr))); }

std::string Format_Utc_Minute(const CivilTime& t) {
  std::string text;
  Append_Digits(text, t.year, 4);
  text += '-';
  Append_Digits(text, t.month, 2);
  text += '-';
  Append_Digits(text, t.day, 2);
  text += 'T';
  Append_Digits(text, t.hour, 2);
  text += ':';
  Append_Digits(text, t.minute, 2);
  text += 'Z';
  return text;
}
