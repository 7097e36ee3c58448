// zodiac-chart: positions of the Sun, the Moon and the planets, the daily analysis and the
// chart, from the command line.
#include <fcntl.h>
#include <unistd.h>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  // A standard stream closed at start would have its descriptor reused by the next file or
  // socket opened, and the output written there.
  if (fcntl(STDERR_FILENO, F_GETFD) == -1) return kExitUsage;
  if (fcntl(STDOUT_FILENO, F_GETFD) == -1) {
    std::cerr << "zodiac-chart: cannot write to standard output: it is closed" << std::endl;
    return kExitUsage;
  }
  // Dates are written in the user's format; numbers stay in the C locale's.
  std::setlocale(LC_TIME, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  return Run_Cli(args, std::cout, std::cerr);
}
