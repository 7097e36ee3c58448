// The sign reader accepts only the documented spellings: the number 0..11 in one or two
// digits, the English name in any ASCII case, the Arabic caption of the sign label.
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/names.h"
#include "service/sky.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {
std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int sign = -2;
  const Outcome outcome = Read_Sign(text, sign);
  if (sign < -1 || sign > 11) Fuzz_Failure("a sign number outside -1..11");
  if (sign < 0) {
    if (outcome.status != Service_Status::Bad_Input) Fuzz_Failure("an unknown sign not refused");
    return 0;
  }
  const std::string n = std::to_string(sign);
  const bool documented = text == n || text == "0" + n ||
                          Lower(text) == Lower(kSignNames[sign]) || text == kSignCaptions[sign];
  if (!documented) Fuzz_Failure("an undocumented spelling accepted");
  return 0;
}
