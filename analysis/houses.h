// Houses and aspect scores of the ten bodies for the picked sign (Sel_Sign), from the Lon
// fields of Pln_Rec.
#pragma once

// For bodies 0..9: House = signs from Sel_Sign forward to the body's sign (0..11, as a
// double), the sign found by the closed ranges (Sign_Of). A longitude outside 0..360 or not a
// number leaves House as it was. Then runs Calc_Scores. Raises std::overflow_error when a
// 16-bit step leaves its range (only for a Sel_Sign far outside 0..11).
void Calc_Houses();

// Pln_Score slots 0..9: for each body i, the weights of its aspects with the later bodies
// j > i (the partner's score is untouched), plus 1 when Score_Flag[i] is 0, else minus 1.
// Raises FloatError when a distance is not finite and std::overflow_error on a 16-bit
// overflow of a score.
void Calc_Scores();
