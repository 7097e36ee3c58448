// The command line's plain-text outputs and the glyph tooltip they share with the JSON.
#pragma once

#include <ostream>
#include <string>

#include "cli/sky.h"

// The tooltip of body k (BodyIndex 0..9) as its glyph shows it: the body phrase, then the
// position text of its present longitude (Pln_Rec[k].Lon) in single precision.
std::string Body_Tooltip(int k);

// Writes the positions table of the thread's body table: a title line with the instant and
// its Julian Day, then one line per body (longitude, sign, retrograde mark, tooltip).
void Print_Positions_Table(const Sky& sky, std::ostream& out);

// The analysis text with the terminal's line breaks: every "\r\n" becomes "\n".
std::string For_Terminal(const std::string& text);
