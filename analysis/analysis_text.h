// The daily analysis text for a picked sign, as the analysis window shows it and as the
// command line prints it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The five sentences in the order Sun, Moon, Mercury, Venus, Mars.
using Analysis_Sentences = std::array<std::string, 5>;

// The opener's first two steps: Sel_Sign = sign, then Calc_Houses (which fills the scores).
// Errors of Calc_Houses propagate; what was written before stays.
void Pick_Sign(std::int16_t sign);

// Analyse_Sun, Analyse_Moon, Analyse_Mercury, Analyse_Venus, Analyse_Mars, called in that
// order; run Pick_Sign first.
Analysis_Sentences Analyse_Planets();

// The text box content built from caption (the sign label's caption) and the sentences:
// "\r\n", caption, 26 blanks, three "\r\n", then the sentences separated by "\r\n", nothing
// after the last. An empty sentence still leaves its line. Pure.
std::string Analysis_Text(std::string_view caption, const Analysis_Sentences& sentences);

// Pick_Sign(sign), then Analysis_Text of the caption kSignCaptions[sign] and Analyse_Planets().
// sign is 0 Aries .. 11 Pisces; any other raises std::out_of_range before anything changes.
std::string Compose_Analysis_Text(int sign);
