// The module's one JSON writer: numbers with at most three decimals by a small fixed-point
// writer, so the module carries no general floating-point formatting of its own; strings of
// UTF-8 text with control characters escaped. The caller writes the braces and brackets.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

class Json_Writer {
 public:
  std::string out;

  // x with up to three decimals, trailing zeros dropped; null when not finite.
  void Number(double x) {
    if (!std::isfinite(x) || std::fabs(x) > 9e15) {
      out += "null";
      return;
    }
    std::int64_t milli = std::llround(x * 1000);
    if (milli < 0) {
      out += '-';
      milli = -milli;
    }
    Digits(milli / 1000);
    int frac = static_cast<int>(milli % 1000);
    if (frac == 0) return;
    out += '.';
    for (int unit = 100; frac != 0; unit /= 10) {
      out += static_cast<char>('0' + frac / unit);
      frac %= unit;
    }
  }

  void Bool(bool b) { out += b ? "true" : "false"; }

  // A JSON string of UTF-8 text; control characters escaped.
  void String(std::string_view s) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : s) {
      const auto u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
      } else if (u < 0x20) {
        out += "\\u00";
        out += kHex[u >> 4];
        out += kHex[u & 15];
      } else {
        out += c;
      }
    }
    out += '"';
  }

  // "key":
  void Key(std::string_view key) {
    if (!out.empty() && out.back() != '{' && out.back() != '[') out += ',';
    String(key);
    out += ':';
  }
  // A separator before the next array element.
  void Next() {
    if (!out.empty() && out.back() != '{' && out.back() != '[') out += ',';
  }

 private:
  void Digits(std::int64_t n) {
    char buf[20];
    int len = 0;
    do {
      buf[len++] = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n != 0);
    while (len > 0) out += buf[--len];
  }
};
