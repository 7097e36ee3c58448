// Rows of the table-driven tests: tab-separated columns in tests/data/tables/*.tsv, one case a
// line, '#' lines and blank lines skipped. In a column, \t \r \n \\ \xHH stand for their bytes
// and \*N{text} for text repeated N times (a request head of 8,192 bytes in one short line).
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

struct Table_Row {
  int line = 0;  // in the file, for failure messages
  std::vector<std::string> columns;
  std::vector<std::string> raw;  // as written, escapes kept
  const std::string& operator[](std::size_t k) const {
    static const std::string kNone;
    return k < columns.size() ? columns[k] : kNone;
  }
};

inline std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t k = 0; k < s.size(); ++k) {
    if (s[k] != '\\' || k + 1 == s.size()) {
      out += s[k];
      continue;
    }
    const char c = s[++k];
    if (c == 't') out += '\t';
    else if (c == 'r') out += '\r';
    else if (c == 'n') out += '\n';
    else if (c == 'x') out += static_cast<char>(std::stoi(s.substr(k + 1, 2), nullptr, 16)), k += 2;
    else if (c == '*') {
      const std::size_t open = s.find('{', k), close = s.find('}', open);
      const std::string part = Unescape(s.substr(open + 1, close - open - 1));
      for (int n = std::stoi(s.substr(k + 1, open - k - 1)); n > 0; --n) out += part;
      k = close;
    } else out += c;
  }
  return out;
}

// The rows of tests/data/tables/name, columns unescaped; a missing file fails the test.
inline std::vector<Table_Row> Read_Table(const std::string& name) {
  std::ifstream in(std::string(ZC_TEST_DATA_DIR) + "/tables/" + name, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << name;
  std::vector<Table_Row> rows;
  int line_no = 0;
  for (std::string line; std::getline(in, line);) {
    ++line_no;
    if (line.empty() || line[0] == '#') continue;
    Table_Row row{line_no, {}, {}};
    for (std::size_t from = 0;;) {
      const std::size_t tab = line.find('\t', from);
      row.raw.push_back(line.substr(from, tab - from));
      row.columns.push_back(Unescape(row.raw.back()));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    rows.push_back(row);
  }
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

// FNV-1a, 64 bits, as 16 hex digits: a digest of an output that stays the same everywhere.
inline std::string Digest(const std::string& bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (const unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

// "-" for nothing, "=text" for exactly text, "*" for anything (the clock's), else the digest:
// how a table names an output.
inline bool Output_Matches(const std::string& want, const std::string& got) {
  if (want == "*") return true;
  if (want == "-") return got.empty();
  if (!want.empty() && want[0] == '=') return got == want.substr(1);
  return want == Digest(got);
}

// TZ (UTC by default) and the C locale's LC_TIME for its lifetime, the previous ones after.
class Scoped_Zone {
 public:
  explicit Scoped_Zone(const char* zone = "UTC") : locale_(std::setlocale(LC_TIME, nullptr)) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) saved_ = old;
    Set(zone);
    std::setlocale(LC_TIME, "C");
  }
  void Set(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  ~Scoped_Zone() {
    if (had_) setenv("TZ", saved_.c_str(), 1); else unsetenv("TZ");
    tzset();
    std::setlocale(LC_TIME, locale_.c_str());
  }

 private:
  bool had_ = false;
  std::string saved_, locale_;
};
