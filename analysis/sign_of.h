// The sign of a longitude by the closed ranges 30k <= L <= 30k + 30, k = 0..11 tested in
// order, the first that holds winning: an exact multiple of 30 belongs to the lower sign and
// 360 to Pisces. Returns -1 when none holds (L < 0, L > 360 or not a number).
#pragma once

inline int Sign_Of(double lon) {
  for (int k = 0; k < 12; ++k) {
    if (lon >= 30.0 * k && !(lon > 30.0 * k + 30.0)) return k;
  }
  return -1;
}
