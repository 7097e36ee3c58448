// The whole command line in-process: arguments are the input split at NUL bytes. Whatever
// they are, the exit status is a documented one, the theories never fault for an instant
// accepted, a refusal prints nothing on standard output, and what is written on standard
// error is printable UTF-8. Arguments that would write files (-o) or start the server are
// skipped.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t k = 0; k < size; ++k) {
    if (data[k] == 0) {
      if (args.size() == 12) return 0;
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[k]);
    }
  }
  for (const std::string& a : args)
    if (a == "serve" || a.rfind("-o", 0) == 0) return 0;
  std::ostringstream out, err;
  const int status = Run_Cli(args, out, err);
  if (status < 0 || status > 2) Fuzz_Failure("an exit status other than 0, 1, 2");
  if (status == kExitUsage && !out.str().empty()) Fuzz_Failure("output with a refusal");
  if (!Is_Printable_Text(err.str())) Fuzz_Failure("control characters on standard error");
  return 0;
}
