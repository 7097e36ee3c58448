// zodiac-chart: positions of the Sun, the Moon and the planets from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return Run_Cli(args, std::cout, std::cerr);
}
