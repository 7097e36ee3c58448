// The server's answers over tests/data/tables/server.tsv, from request bytes as a connection
// receives them (Next_Answer over Demo_Site, no socket) for the bundle in tests/data/bundle,
// in UTC and the C locale.
#include <gtest/gtest.h>

#include <filesystem>

#include "ephemeris/float_check.h"
#include "server/http_exchange.h"
#include "server/serve.h"
#include "tests/table_rows.h"

namespace {
int fault_step = -1;
void Fault_At_Step(int step) {
  if (step == fault_step) throw FloatError();
}

// The value of field name in an answer's head, or nullptr when it has none.
const char* Field(const std::string& head, const std::string& name, std::string& value) {
  const std::size_t at = head.find("\r\n" + name + ": ");
  if (at == std::string::npos) return nullptr;
  const std::size_t start = at + name.size() + 4;
  value = head.substr(start, head.find("\r\n", start) - start);
  return value.c_str();
}

// Columns: the bytes received; the statuses of the answers given, comma-separated ("-" for
// none yet: more must be read); the first answer's body (see Output_Matches); then fields of
// the first answer, "Name: value" present with that value, "-Name" absent, "fault: STEP" a
// floating-point fault raised at that step of the computation.
TEST(SiteTable, EveryRow) {
  const Scoped_Zone utc;
  // The compressed forms count only when at least as new as their file.
  namespace fs = std::filesystem;
  const fs::path bundle = fs::path(ZC_TEST_DATA_DIR) / "bundle";
  for (const char* form : {"sub/el.mjs.gz", "sub/el.mjs.br", "sub/same.txt.gz"})
    fs::last_write_time(bundle / form, fs::last_write_time(bundle / "sub/el.mjs"));
  const Demo_Site site(bundle.string());
  Set_Fault_Probe(Fault_At_Step);
  for (const Table_Row& row : Read_Table("server.tsv")) {
    const std::string where = "line " + std::to_string(row.line) + ": " + row.raw[0];
    fault_step = -1;
    for (std::size_t k = 3; k < row.columns.size(); ++k)
      if (row[k].rfind("fault: ", 0) == 0) fault_step = std::stoi(row[k].substr(7));
    std::string received = row[0], statuses;
    std::vector<Wire_Answer> answers;
    while (std::optional<Wire_Answer> a = Next_Answer(site, received)) {
      statuses += (statuses.empty() ? "" : ",") + a->head.substr(9, 3);
      answers.push_back(std::move(*a));
      if (answers.back().close) break;
    }
    EXPECT_EQ(statuses.empty() ? "-" : statuses, row[1]) << where;
    if (answers.empty()) continue;
    const Wire_Answer& first = answers[0];
    const std::string body = first.body ? *first.body : "";
    EXPECT_TRUE(Output_Matches(row[2], body)) << where << ": body " << Digest(body) << "\n"
                                              << body.substr(0, 200);
    // On every answer: nosniff; the page's CSP on pages only; other origins may load the
    // bundle's files only; a refusal's reason is one printable line.
    std::string value, type;
    EXPECT_NE(Field(first.head, "X-Content-Type-Options", value), nullptr) << where;
    const bool page = Field(first.head, "Content-Type", type) && type.rfind("text/html", 0) == 0;
    EXPECT_EQ(Field(first.head, "Content-Security-Policy", value) && value == kPageCsp, page) << where;
    const bool file = Field(first.head, "Cache-Control", value) && value == "no-cache" &&
                      (row[1].rfind("200", 0) == 0 || row[1] == "304");
    EXPECT_EQ(Field(first.head, "Access-Control-Allow-Origin", value) != nullptr, file) << where;
    if (row[1].rfind("4", 0) == 0) {
      EXPECT_EQ(body.find('\n'), body.size() - 1) << where;
      for (const char ch : body) EXPECT_TRUE(ch == '\n' || static_cast<unsigned char>(ch) >= 0x20) << where;
    }
    for (std::size_t k = 3; k < row.columns.size(); ++k) {
      if (row[k].rfind("fault: ", 0) == 0) continue;
      if (row[k][0] == '-') {
        EXPECT_EQ(Field(first.head, row[k].substr(1), value), nullptr) << where << ": " << value;
        continue;
      }
      const std::size_t colon = row[k].find(": ");
      ASSERT_NE(colon, std::string::npos) << where << ": " << row[k];
      EXPECT_NE(Field(first.head, row[k].substr(0, colon), value), nullptr) << where << ": " << row[k];
      EXPECT_EQ(value, row[k].substr(colon + 2)) << where;
    }
  }
  Set_Fault_Probe(nullptr);
}
}  // namespace
