// `scenario_tool diff` between a compiled scenario and copies of it with one
// byte changed, and the commands' answer to a truncated file.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/compiled_scenarios.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::run_tool;

class DiffCommand : public ::testing::Test {
 protected:
  // A second copy of the compiled files whose bytes a test changes.
  fs::path copy_of_out() {
    const fs::path copy = folder.path() / "copy";
    fs::copy(out, copy);
    return copy;
  }

  testing::TempFolder folder;
  fs::path out = testing::compile_built_in(folder);
};

TEST_F(DiffCommand, EqualScenariosSayNothing) {
  const testing::ProgramRun run = run_tool({"diff", out.string(), copy_of_out().string()});
  EXPECT_EQ(run.status, 0) << run.error_text;
  EXPECT_EQ(run.output_text, "");
}

TEST_F(DiffCommand, OneChangedByteIsNamedByItsCellOrRecordAndField) {
  struct Case {
    const char* file;
    size_t offset;
    char byte;
    const char* expected;
  };
  // Record 2 starts after record 0 (34 bytes) and record 1 (34 + "VALDORENA C.le"); its stop
  // (byte 2) lies 27 bytes plus its name ("PIANVERDE") into it.
  const size_t record2 = 34 + 34 + 14;
  const Case cases[] = {
      {testing::kBuiltInCells, 300 * 15 + 11, 1, "cell 300 (15000..15049 m): mountain type 0 → 1\n"},
      {testing::kBuiltInCells, 19 * 15 + 12, 12, "cell 19 (950..999 m): speed limit 80 km/h → 60 km/h\n"},
      {testing::kBuiltInTable, record2 + 27 + 9, 30, "record 2 (station PIANVERDE): stop 60 s → 30 s\n"},
      {testing::kBuiltInTable, record2 + 16, 'Q', "record 2 (station PIANVERDE): name \"PIANVERDE\" → \"QIANVERDE\"\n"},
      {testing::kBuiltInPlan, 2, 1, "plan metre 0, first coordinate: integer 0 → integer 1\n"},
  };
  for (const Case& c : cases) {
    const fs::path copy = copy_of_out();
    std::string bytes = testing::read_file(copy / c.file);
    bytes.at(c.offset) = c.byte;
    testing::write_file(copy / c.file, bytes);

    const testing::ProgramRun run = run_tool({"diff", out.string(), copy.string()});
    EXPECT_EQ(run.status, 1) << c.expected << run.error_text;
    EXPECT_EQ(run.output_text, c.expected);
    // The same files named one by one.
    EXPECT_EQ(run_tool({"diff", (out / c.file).string(), (copy / c.file).string()}).output_text, c.expected);
    fs::remove_all(copy);
  }
}

TEST_F(DiffCommand, MissingPlanAndShortListsAreSaid) {
  testing::TempFolder other;
  const fs::path no_plan = testing::compile_built_in(other, {"--no-plan"});
  const testing::ProgramRun run = run_tool({"diff", out.string(), no_plan.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output_text, "line plan file: only in A\n");

  // Two plan entries changed: the list stops at the limit and says how many more there are.
  const fs::path copy = copy_of_out();
  std::string plan = testing::read_file(copy / testing::kBuiltInPlan);
  plan[2] = 5;  // metre 0, first coordinate: integer 5
  plan[6] = 9;  // metre 1, first coordinate: integer 9
  testing::write_file(copy / testing::kBuiltInPlan, plan);
  const testing::ProgramRun limited = run_tool({"diff", "--limit", "1", out.string(), copy.string()});
  EXPECT_EQ(limited.status, 1);
  EXPECT_EQ(limited.output_text,
            "plan metre 0, first coordinate: integer 0 → integer 5\n"
            "... and 1 more differences (--limit 0 shows all)\n");
}

// A truncated file: each command names it, says what is wrong, and ends with 2.
TEST_F(DiffCommand, EveryCommandRefusesATruncatedFile) {
  struct Case {
    const char* name;
    const char* what;
  };
  for (const Case& c : {Case{testing::kBuiltInCells, "cell file, byte 15000: cell 1000 has 10 bytes of its 15"},
                        Case{testing::kBuiltInTable, "record 86: text length 4 runs past the end of the file"},
                        Case{testing::kBuiltInPlan, "the file ends inside its 8-byte value (7 bytes left)"}}) {
    const char* name = c.name;
    const fs::path copy = copy_of_out();
    const std::string bytes = testing::read_file(copy / name);
    testing::write_file(copy / name, bytes.substr(0, bytes.size() - 5));

    const std::vector<std::vector<std::string>> calls = {
        {"inspect", copy.string()},
        {"diff", out.string(), copy.string()},
        {"plot", copy.string(), "-o", (folder.path() / "sheet.svg").string()}};
    for (const std::vector<std::string>& call : calls) {
      const testing::ProgramRun run = run_tool(call);
      EXPECT_EQ(run.status, 2) << call[0] << " " << name;
      EXPECT_NE(run.error_text.find((copy / name).string() + ": "), std::string::npos) << run.error_text;
      EXPECT_NE(run.error_text.find(c.what), std::string::npos) << run.error_text;
      EXPECT_EQ(run.output_text, "") << call[0];
    }
    EXPECT_FALSE(fs::exists(folder.path() / "sheet.svg"));
    fs::remove_all(copy);
  }
  EXPECT_EQ(run_tool({"diff", out.string()}).status, 2);
}

}  // namespace
}  // namespace scenario
