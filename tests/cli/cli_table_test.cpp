// The command line over tests/data/tables/cli.tsv, in UTC and the C locale: arguments to the
// exit status, standard output and the first line of standard error, optionally with a
// floating-point fault raised at one step of the computation (a body's slot, 10 the analysis).
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli.h"
#include "ephemeris/float_check.h"
#include "tests/table_rows.h"

namespace {
int fault_slot = -1;
void Fault_At_Slot(int slot) {
  if (slot == fault_slot) throw FloatError();
}

// Columns: status, arguments (separated by blanks; "" an empty one), standard output (see
// Output_Matches), the first line of standard error ("-" none), the step of a fault ("-" none).
TEST(CliTable, EveryRow) {
  const Scoped_Zone utc;
  std::ostringstream no_out, reference;
  Run_Cli({"orbits"}, no_out, reference);
  const std::string usage_and_hint = reference.str().substr(reference.str().find('\n') + 1);
  ASSERT_EQ(usage_and_hint.rfind("usage: zodiac-chart positions", 0), 0u);
  Set_Fault_Probe(Fault_At_Slot);
  for (const Table_Row& row : Read_Table("cli.tsv")) {
    std::vector<std::string> args;
    std::istringstream words(row.raw.at(1));
    for (std::string w; words >> w;) {
      if (const std::size_t at = w.find("$DATA"); at != std::string::npos)
        w.replace(at, 5, ZC_TEST_DATA_DIR);
      args.push_back(Unescape(w == "\"\"" ? "" : w));
    }
    fault_slot = row[4] == "-" || row[4].empty() ? -1 : std::stoi(row[4]);
    std::ostringstream out, err;
    const int status = Run_Cli(args, out, err);
    const std::string where = "line " + std::to_string(row.line) + ": " + row[1];
    EXPECT_EQ(std::to_string(status), row[0]) << where << "\n" << err.str();
    EXPECT_TRUE(Output_Matches(row[2], out.str()))
        << where << ": output " << Digest(out.str()) << "\n" << out.str().substr(0, 300);
    const std::string first = err.str().substr(0, err.str().find('\n'));
    EXPECT_EQ(err.str().empty() ? "-" : first, row[3]) << where;
    // Refused usage: the line (after a warning, if any), then the usage and the hint. The gap:
    // the control's message alone.
    const std::string rest = err.str().substr(std::min(err.str().size(), first.size() + 1));
    if (status == kExitUsage && first.find("warning:") == std::string::npos &&
        first != "zodiac-chart: cannot write to standard output") {
      EXPECT_EQ(rest, usage_and_hint) << where;
    }
    if (status == kExitUsage && first.find("warning:") != std::string::npos) {
      EXPECT_EQ(rest.substr(rest.find('\n') + 1), usage_and_hint) << where;
    }
    if (status == kExitCalendarGap) {
      EXPECT_EQ(rest, "") << where;
    }
  }
  Set_Fault_Probe(nullptr);
}
}  // namespace
