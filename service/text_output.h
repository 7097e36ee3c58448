// The positions and analysis as plain text, as a terminal shows them.
#pragma once

#include <ostream>
#include <string>

#include "service/sky.h"

// Writes the positions table of the thread's body table: a title line with the instant and
// its Julian Day, then one line per body (longitude, sign, retrograde mark, tooltip).
void Print_Positions_Table(const Computed_Instant& computed, std::ostream& out);

// The analysis text with the terminal's line breaks: every "\r\n" becomes "\n".
std::string For_Terminal(const std::string& text);
