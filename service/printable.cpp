// Escaping for echoed input; UTF-8 well-formedness by RFC 3629, section 4 (no overlong
// forms, no surrogates, nothing past U+10FFFF).
#include "service/printable.h"

namespace {
// Length of the well-formed UTF-8 sequence starting at text[at], or 0 when there is none.
std::size_t Utf8_Length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(at);
  std::size_t n;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + n > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t k = 2; k < n; ++k)
    if (byte(at + k) < 0x80 || byte(at + k) > 0xBF) return 0;
  return n;
}
}  // namespace

std::string Printable_Line(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c == '\n' || c == '\r') {
      out += ' ';
      ++at;
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++at;
    } else if (const std::size_t n = c >= 0x80 ? Utf8_Length(text, at) : 0;
               n > 0 && !(c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0)) {
      // (U+0080..U+009F, the C1 controls, are escaped byte by byte below.)
      out.append(text.substr(at, n));
      at += n;
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
      ++at;
    }
  }
  return out;
}
