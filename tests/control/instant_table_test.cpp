// The instant reader over tests/data/tables/instants.tsv: text (in a time zone) to the UTC
// reading or the exact refusal, and what the time base then makes of it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "control/instant.h"
#include "tests/table_rows.h"

namespace {
std::string Reading(const InstantParse& p) {
  if (p.status == InstantParse::Status::Invalid) return "invalid: " + p.error;
  char text[40];
  std::snprintf(text, sizeof text, "%s%04d-%02d-%02dT%02d:%02d:%02dZ",
                p.status == InstantParse::Status::CalendarGap ? "gap " : "", p.utc.year,
                p.utc.month, p.utc.day, p.utc.hour, p.utc.minute, p.utc.second);
  return text;
}

const char* Status_Word(InstantParse::Status s) {
  return s == InstantParse::Status::Ok ? "ok" : s == InstantParse::Status::Invalid ? "invalid" : "gap";
}

// Columns: TZ ("-" for UTC), text, reading ("now": the clock's), Set_Time_Base's status.
TEST(InstantTable, EveryRow) {
  Scoped_Zone zone;
  for (const Table_Row& row : Read_Table("instants.tsv")) {
    zone.Set(row[0] == "-" ? "UTC" : row[0].c_str());
    errno = ERANGE;  // left by some earlier call: the reader must not take it for its own
    const InstantParse parsed = Parse_Instant(row[1]);
    if (row[2] == "now") {  // the clock's reading, within the seconds this row takes
      EXPECT_LE(std::llabs(Unix_Seconds(parsed.utc) - Unix_Seconds(Now_Utc())), 2) << row.line;
    } else if (row[2] != "*") {
      EXPECT_EQ(Reading(parsed), row[2]) << "line " << row.line << ": " << row[1];
    }
    EXPECT_EQ(Status_Word(Set_Time_Base(row[1]).status), row[3]) << "line " << row.line;
  }
}
}  // namespace
