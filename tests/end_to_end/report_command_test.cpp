// `scenario_tool inspect` on the built-in scenario compiled by the tool, as
// text and as JSON, and on damaged files.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "source/text_writer.h"
#include "source/train_data.h"
#include "source/windows1252.h"
#include "support/compiled_scenarios.h"
#include "support/source_rows.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::run_tool;

struct StationRow {
  std::string name;  // UTF-8
  int position_m;
};

// The stations as the train source states them: position first, name last.
std::vector<StationRow> built_in_station_rows() {
  std::vector<StationRow> rows;
  const LineBuffer lines = train_source_lines();
  for (int i = 0; i < lines.line_count(); ++i) {
    const std::vector<std::string> fields = testing::split_at_commas(lines.entry(i));
    if (fields.front() != "stazione") continue;
    std::string name = fields.back().substr(fields.back().find_first_not_of(' '));
    rows.push_back({cp1252_to_utf8(name), std::stoi(fields[1])});
  }
  return rows;
}

// The report's line that starts with `start` (after the indent), or "" when none does.
std::string line_starting(const std::string& report, const std::string& start) {
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    const size_t text = line.find_first_not_of(' ');
    if (text != std::string::npos && line.compare(text, start.size(), start) == 0) return line;
  }
  return "";
}

class InspectCommand : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  fs::path out = testing::compile_built_in(folder);
};

TEST_F(InspectCommand, ShowsTheBuiltInStationsBoardsAndChecks) {
  const testing::ProgramRun run = run_tool({"inspect", out.string()});
  ASSERT_EQ(run.status, 0) << run.error_text;
  const std::string& report = run.output_text;

  const std::vector<StationRow> stations = built_in_station_rows();
  ASSERT_EQ(stations.size(), 8u);
  EXPECT_NE(report.find("Stations (8)"), std::string::npos) << report;
  for (size_t i = 0; i < stations.size(); ++i) {
    const std::string row = line_starting(report, std::to_string(i + 1) + "  " + stations[i].name);
    EXPECT_NE(row.find(std::string(" ").append(std::to_string(stations[i].position_m)).append(" m ")),
              std::string::npos)
        << stations[i].name << " in: " << row;
  }
  const std::string cell19 = line_starting(report, "19 ");
  EXPECT_NE(cell19.find("950..999 m"), std::string::npos) << cell19;
  EXPECT_NE(cell19.find("speed board: left 60/80/80 km/h"), std::string::npos) << cell19;

  EXPECT_NE(report.find("Sign boards (35)"), std::string::npos);
  EXPECT_NE(line_starting(report, "80 ").find("(Scalo         )(VALDORENA C.le)"), std::string::npos);
  EXPECT_NE(report.find("record 81: from 12650 m, km 112+100, readings growing"), std::string::npos) << report;
  EXPECT_NE(report.find("metres              0 to 50000"), std::string::npos);
  // All four stamps and identity codes check; none is reported wrong.
  EXPECT_EQ(report.find("WRONG"), std::string::npos);
  size_t checks = 0;
  for (size_t at = report.find("  ok  "); at != std::string::npos; at = report.find("  ok  ", at + 1)) ++checks;
  EXPECT_EQ(checks, 4u) << report;
}

TEST_F(InspectCommand, JsonHoldsTheSameAsOneObject) {
  const testing::ProgramRun run = run_tool({"inspect", "--json", out.string()});
  ASSERT_EQ(run.status, 0) << run.error_text;
  const nlohmann::json report = nlohmann::json::parse(run.output_text);

  const std::vector<StationRow> stations = built_in_station_rows();
  ASSERT_EQ(report["stations"].size(), stations.size());
  for (size_t i = 0; i < stations.size(); ++i) {
    EXPECT_EQ(report["stations"][i]["name"], stations[i].name);
    EXPECT_EQ(report["stations"][i]["position_m"], stations[i].position_m);
  }
  ASSERT_EQ(report["cells"].size(), 1001u);
  for (size_t i = 0; i < report["cells"].size(); ++i) ASSERT_EQ(report["cells"][i]["index"], i);
  const nlohmann::json& cell19 = report["cells"][19];
  EXPECT_EQ(cell19["marker"], "speed board");
  EXPECT_EQ(cell19["speed_board"]["left"]["speeds_kmh"], nlohmann::json({60, 80, 80}));
  EXPECT_EQ(report["cells"][20]["marker"], "signal");
  EXPECT_EQ(report["boards"].size(), 35u);
  EXPECT_EQ(report["boards"][0]["position_m"], 350);
  EXPECT_EQ(report["records"].size(), 87u);
  EXPECT_EQ(report["records"][85]["text"], "ValdorenaC_Morlavesa");
  EXPECT_EQ(report["plan"]["last_metre"], 50000);
  for (const nlohmann::json& check : report["checks"]) EXPECT_TRUE(check["ok"].get<bool>()) << check.dump();
}

TEST_F(InspectCommand, TheFilesThemselvesOrAFolderWithoutThePlan) {
  // The table alone: no cells and no plan in the report, but the stations.
  const testing::ProgramRun table_only = run_tool({"inspect", (out / testing::kBuiltInTable).string()});
  ASSERT_EQ(table_only.status, 0) << table_only.error_text;
  EXPECT_NE(table_only.output_text.find("Stations (8)"), std::string::npos);
  EXPECT_EQ(table_only.output_text.find("Cells ("), std::string::npos);

  // Compiled without the plan: the rest is read and the plan is said to be missing.
  testing::TempFolder other;
  const fs::path no_plan = testing::compile_built_in(other, {"--no-plan"});
  const testing::ProgramRun run = run_tool({"inspect", no_plan.string()});
  ASSERT_EQ(run.status, 0) << run.error_text;
  EXPECT_NE(run.output_text.find("line plan file  none"), std::string::npos) << run.output_text;
  EXPECT_NE(run.output_text.find("Cells (1001"), std::string::npos);

  const testing::ProgramRun nothing = run_tool({"inspect", (folder.path() / "nowhere").string()});
  EXPECT_EQ(nothing.status, 2);
  EXPECT_NE(nothing.error_text.find("nowhere: no such file or folder"), std::string::npos) << nothing.error_text;
}

}  // namespace
}  // namespace scenario
