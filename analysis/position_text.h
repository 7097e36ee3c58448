// Position texts: a body's present place as one Arabic line, for the glyph tooltips. The
// tooltip of body i is Pln_Phrase(i) followed by Sign_PosText of its longitude as a float.
#pragma once

#include <cstdint>
#include <string>

// The body phrase of index (BodyIndex 0..9, "الشمس في " .. "بلوطون في "), ending in one
// blank; the empty string for any other index.
std::string Pln_Phrase(std::int16_t index);

// Sign_DegText of lon (degrees, widened to double) followed by the phrase of its sign, ending
// in one blank. The sign comes from the closed ranges (Sign_Of): 30 is Aries, 360 Pisces; the
// degree is worked out apart from it. Empty when lon < 0, lon > 360 or not a number.
std::string Sign_PosText(float lon);
