// The pinned start-up results in tests/data/pinned_positions.tsv, read for the core and the
// command-line tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ephemeris/time_base.h"

// One body at one instant, as the file holds it.
struct PinnedBody {
  std::string instant_utc;  // "YYYY-MM-DDTHH:MMZ"
  CivilTime utc;
  double julian_day = 0;
  double julian_centuries = 0;  // before the one-step advance
  int index = -1;
  std::string name;
  double lon = 0, lon_next = 0;  // degrees
  bool retro = false;
};

// Every row of the file in file order (ten consecutive rows per instant, bodies 0..9). A
// missing file or a malformed line is a test failure, and the rows read so far come back.
inline std::vector<PinnedBody> Read_Pinned_Positions() {
  std::vector<PinnedBody> rows;
  std::FILE* f = std::fopen(ZC_TEST_DATA_DIR "/pinned_positions.tsv", "r");
  if (f == nullptr) {
    ADD_FAILURE() << "cannot open " ZC_TEST_DATA_DIR "/pinned_positions.tsv";
    return rows;
  }
  char line[512];
  while (std::fgets(line, sizeof line, f)) {
    if (line[0] == '#') continue;
    PinnedBody b;
    char instant[32], name[16];
    int retro = -1;
    const int n = std::sscanf(line, "%31s %lf %lf %d %15s %lf %lf %d", instant, &b.julian_day,
                              &b.julian_centuries, &b.index, name, &b.lon, &b.lon_next, &retro);
    const int m = std::sscanf(instant, "%d-%d-%dT%d:%dZ", &b.utc.year, &b.utc.month,
                              &b.utc.day, &b.utc.hour, &b.utc.minute);
    if (n != 8 || m != 5 || (retro != 0 && retro != 1)) {
      ADD_FAILURE() << "malformed line: " << line;
      break;
    }
    b.instant_utc = instant;
    b.name = name;
    b.retro = retro == 1;
    rows.push_back(b);
  }
  std::fclose(f);
  return rows;
}

// a − b wrapped into -180..180 degrees, sign kept.
inline double Angle_Diff(double a, double b) { return std::remainder(a - b, 360.0); }
