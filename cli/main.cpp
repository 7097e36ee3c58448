// zodiac-chart: positions of the Sun, the Moon and the planets, the daily analysis and the
// chart, from the command line.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  // Dates are written in the user's format; numbers stay in the C locale's.
  std::setlocale(LC_TIME, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  return Run_Cli(args, std::cout, std::cerr);
}
