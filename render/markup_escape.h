// Text for XML and HTML markup (the SVG writer, the server-rendered fragment): one escaping
// rule for both, so a caption shows the same in every form of the chart.
#pragma once

#include <string>
#include <string_view>

// Appends s to out as text content or a double-quoted attribute value: & < > " escaped;
// carriage returns dropped (a "\r\n" line break becomes "\n").
inline void Append_Escaped(std::string& out, std::string_view s) {
  for (const char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r': break;
      default: out += c;
    }
  }
}
