// Daily interpretation sentences for the Sun, the Moon, Mercury, Venus and Mars, chosen by the
// planet's House (0..11) and Pln_Score. Call after Calc_Houses; they read only House and
// Pln_Score and change nothing.
#pragma once

#include <string>

// The row of House of the planet's table: the fortunate text when the score qualifies (Sun:
// score >= 0; the others: score > 0), the afflicted text otherwise. Empty when House is not
// exactly one of the whole numbers 0..11.
std::string Analyse_Sun();
std::string Analyse_Moon();
std::string Analyse_Mercury();
std::string Analyse_Venus();
std::string Analyse_Mars();
