// Setting the time base from an instant given as text.
#include "control/instant.h"

InstantParse Set_Time_Base(std::string_view text) {
  InstantParse parsed = Parse_Instant(text);
  if (parsed.status == InstantParse::Status::Ok && !Calc_Time(parsed.utc))
    parsed.status = InstantParse::Status::CalendarGap;
  return parsed;
}
