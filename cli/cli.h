// The zodiac-chart command line, as a function so that tests drive it without a process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitCalendarGap = 1;  // the instant falls in the 1582 calendar gap
inline constexpr int kExitUsage = 2;        // bad command, option or value
inline constexpr int kExitFault = 3;        // the computation raised a floating-point fault

// Runs the command line args (without the program name); writes to out and err and returns
// the exit status.
int Run_Cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
