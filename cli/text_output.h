// The command line's plain-text outputs.
#pragma once

#include <ostream>
#include <string>

#include "cli/sky.h"

// Writes the positions table of the thread's body table: a title line with the instant and
// its Julian Day, then one line per body (longitude, sign, retrograde mark, tooltip).
void Print_Positions_Table(const Sky& sky, std::ostream& out);

// The analysis text with the terminal's line breaks: every "\r\n" becomes "\n".
std::string For_Terminal(const std::string& text);
