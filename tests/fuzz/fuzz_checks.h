// What every fuzz target checks besides its own property.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// Stops the run with a report: libFuzzer keeps the input that got here.
[[noreturn]] inline void Fuzz_Failure(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

// Whether text is printable UTF-8 where line breaks (allowed_controls) may stand, as the
// messages must be after escaping: no other control character, nothing malformed.
inline bool Is_Printable_Text(std::string_view text, std::string_view allowed_controls = "\n") {
  for (std::size_t k = 0; k < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[k]);
    if (c < 0x20 || c == 0x7F) {
      if (allowed_controls.find(static_cast<char>(c)) == std::string_view::npos) return false;
      ++k;
      continue;
    }
    if (c < 0x80) {
      ++k;
      continue;
    }
    const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (n == 0 || k + n > text.size() || c > 0xF4) return false;
    for (std::size_t j = 1; j < n; ++j)
      if ((static_cast<unsigned char>(text[k + j]) & 0xC0) != 0x80) return false;
    if (c == 0xC2 && static_cast<unsigned char>(text[k + 1]) < 0xA0) return false;  // C1
    k += n;
  }
  return true;
}
