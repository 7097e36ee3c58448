// The command line's platform.
#include "cli/cli_platform.h"

#include <ctime>

#include "control/instant.h"

namespace {
constexpr std::int64_t kUnixEpochDay = 2440588;  // 1970-01-01
}  // namespace

std::string Cli_Platform::Date_Text() {
  // The zone's offset at this instant from the C library, then the local date in the same
  // historical calendar (Julian before 1582-10-15) that the instant was given in.
  const std::int64_t utc_seconds =
      (Day_Number(utc_.year, utc_.month, utc_.day) - kUnixEpochDay) * 86400 +
      utc_.hour * 3600 + utc_.minute * 60 + utc_.second;
  const auto t = static_cast<std::time_t>(utc_seconds);
  std::tm local{};
  std::int64_t offset = 0;
  if (localtime_r(&t, &local)) offset = local.tm_gmtoff;
  const std::int64_t seconds = utc_seconds + offset;
  const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const std::int64_t rest = seconds - days * 86400;
  int year, month, day;
  Date_Of_Day_Number(days + kUnixEpochDay, year, month, day);
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = static_cast<int>(rest / 3600);
  local.tm_min = static_cast<int>(rest / 60 % 60);
  local.tm_sec = static_cast<int>(rest % 60);
  local.tm_wday = static_cast<int>((days + kUnixEpochDay + 1) % 7);  // JDN + 1: Sunday = 0
  char buf[128];
  const std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
  return std::string(buf, n);
}

void Cli_Platform::Message_Box(std::string_view text, int) { err_ << text << "\n"; }
