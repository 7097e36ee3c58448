// The request target's rules: percent-decoding (RFC 3986, section 2.1) of the path and of the
// query's name=value pairs (with "+" as a blank in the query, as HTML forms send it).
#pragma once

#include <map>
#include <string>
#include <string_view>

struct Request_Target {
  std::string path;                           // decoded: "/api/analysis"
  std::map<std::string, std::string> params;  // decoded; a repeated name keeps its last value

  // The value of the query parameter name, or fallback when the query has none.
  std::string Param(const std::string& name, const char* fallback) const;
};

// Decodes %XX (and "+" as a blank when plus_is_blank) of in into out; false for a malformed
// escape.
bool Percent_Decode(std::string_view in, bool plus_is_blank, std::string& out);

// Reads target ("/path?query") into read. Returns the one-line reason when it is refused (not
// a path, a malformed escape), or an empty string.
std::string Read_Target(std::string_view target, Request_Target& read);
