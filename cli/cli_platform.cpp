// The command line's platform.
#include "cli/cli_platform.h"

#include <ctime>

#include "control/instant.h"

std::string Cli_Platform::Date_Text() {
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
  char buf[128];
  const std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
  return std::string(buf, n);
}

void Cli_Platform::Message_Box(std::string_view text, int) { err_ << text << "\n"; }
