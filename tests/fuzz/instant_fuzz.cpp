// The instant reader: whatever it accepts lies in 0001-01-01..9999-12-31 UTC, is a real
// reading (month, day, hour, minute in range), and written back as UTC text reads back to the
// same reading; Unix seconds convert back to it.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "control/instant.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {
bool Same(const CivilTime& a, const CivilTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const InstantParse parsed = Parse_Instant(text);
  if (parsed.status != InstantParse::Status::Ok) return 0;
  const CivilTime& t = parsed.utc;
  if (t.year < 1 || t.year > 9999) Fuzz_Failure("a year outside 0001..9999");
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > Days_In_Month(t.year, t.month) ||
      t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
    Fuzz_Failure("not a real reading");
  char again[40];
  std::snprintf(again, sizeof again, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  const InstantParse reread = Parse_Instant(again);
  if (reread.status != InstantParse::Status::Ok || !Same(reread.utc, t))
    Fuzz_Failure("the UTC reading does not read back");
  if (!Same(From_Unix_Seconds(Unix_Seconds(t)), t))
    Fuzz_Failure("Unix seconds do not convert back");
  return 0;
}
