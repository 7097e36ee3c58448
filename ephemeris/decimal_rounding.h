// Rounding to 15 significant decimal digits, as writing a double with 15 digits and reading
// the text back would give, independent of the process locale.
#pragma once

// The double nearest to x rounded to 15 significant decimal digits (ties to even).
double Round_15_Digits(double x);
