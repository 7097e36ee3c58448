// The native hosts' platform.
#include "service/native_platform.h"

#include <langinfo.h>

#include <cstdio>
#include <ctime>

#include "calendar/calendar.h"

namespace {
// LC_TIME's short date format with its year written in full: %y, %Y and %D's year become the
// year itself, four digits at least (strftime gives "24" for %y and "800" for %Y).
std::string Full_Year_Date_Format(int year) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", year);
  const std::string format = nl_langinfo(D_FMT);
  std::string out;
  for (std::size_t k = 0; k < format.size(); ++k) {
    const char c = format[k];
    const char next = k + 1 < format.size() ? format[k + 1] : '\0';
    if (c != '%' || next == '\0') {
      out += c;
      continue;
    }
    ++k;
    if (next == 'y' || next == 'Y') out += digits;
    else if (next == 'D') out += std::string("%m/%d/") + digits;
    else out += {c, next};
  }
  return out;
}
}  // namespace

std::string Native_Platform::Date_Text() {
  // The zone's offset at this instant from the C library, then the local date in the same
  // historical calendar (Julian before 1582-10-15) that the instant was given in.
  const std::int64_t utc_seconds = Unix_Seconds(utc_);
  const auto t = static_cast<std::time_t>(utc_seconds);
  std::tm local{};
  std::int64_t offset = 0;
  if (localtime_r(&t, &local)) offset = local.tm_gmtoff;
  const CivilTime l = From_Unix_Seconds(utc_seconds + offset);
  local.tm_year = l.year - 1900;
  local.tm_mon = l.month - 1;
  local.tm_mday = l.day;
  local.tm_hour = l.hour;
  local.tm_min = l.minute;
  local.tm_sec = l.second;
  local.tm_wday = static_cast<int>((Day_Number(l.year, l.month, l.day) + 1) % 7);  // Sunday 0
  char buf[256];
  const std::string format = Full_Year_Date_Format(l.year) + " %X";
  const std::size_t n = std::strftime(buf, sizeof buf, format.c_str(), &local);
  std::string text(buf, n);
  // A local day before 1582-10-15 is shown in the Julian calendar: marked so, with the date
  // in a first-strong isolate so it keeps its own order in the Arabic line.
  if (!Is_Gregorian_Date(l.year, l.month, l.day))
    text = "\u2068" + text + "\u2069 (يولياني)";
  return text;
}

void Native_Platform::Message_Box(std::string_view text, int) { err_ << text << "\n"; }
