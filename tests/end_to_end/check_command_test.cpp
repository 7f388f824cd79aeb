// The author tool telling mistakes: `check`, `--json` on check and compile,
// colour on a terminal, and the summary after a clean compile.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/terminal_run.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const char* const kLine = "[generale]\r\nlunghezza percorso, 5000\r\n[pendenze]\r\npendenza, 0, 0\r\n[fine]\r\n";
const char* const kTrain =
    "[generale]\r\naderenza, 0, 100\r\nvelocita, 0, 80\r\n"
    "stazione, 0, 7, 300, 0,0,0, 0,0,0,0,0,0,0, 10,0,0, A\r\n[fine]\r\n";
// The same line with a misspelt gradient keyword (a warning) and one beyond the cells (error 15).
const char* const kLineWithWarning =
    "[generale]\r\nlunghezza percorso, 5000\r\n[pendenze]\r\npendeza, 0, 0\r\n[fine]\r\n";
const char* const kLineWithError =
    "[generale]\r\nlunghezza percorso, 5000\r\n[pendenze]\r\npendenza, 0, 0\r\npendenza, 20000, 1\r\n[fine]\r\n";

// An author's folder with a line and a train source in it.
class Author {
 public:
  Author(const std::string& line, const std::string& train) {
    testing::write_file(line_path(), line);
    testing::write_file(train_path(), train);
  }
  fs::path line_path() const { return folder_.path() / "line.txt"; }
  fs::path train_path() const { return folder_.path() / "train.txt"; }
  const fs::path& folder() const { return folder_.path(); }

  // The tool run in the author's folder, naming the sources as the author would.
  testing::ProgramRun run(std::vector<std::string> arguments) const {
    return testing::run_program(SCENARIO_TOOL_PATH, arguments, folder_.path().string(), {"NO_COLOR="});
  }
  testing::ProgramRun check(std::vector<std::string> extra = {}) const {
    std::vector<std::string> arguments = {"check", "--line", "line.txt", "--train", "train.txt"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return run(arguments);
  }

 private:
  testing::TempFolder folder_;
};

std::vector<std::string> files_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CheckCommand, StatusSaysWhetherTheSourcesHoldABuildErrorAndNothingIsWritten) {
  struct Case {
    const char* what;
    const char* line;
    std::vector<std::string> extra;
    int status;
    const char* last_line;
  };
  const Case cases[] = {
      {"clean", kLine, {}, 0, "no errors, no warnings\n"},
      {"a warning", kLineWithWarning, {}, 0, "no errors, 1 warning\n"},
      {"a warning, strict", kLineWithWarning, {"--strict"}, 2, "no errors, 1 warning (warnings count as errors)\n"},
      {"a build error", kLineWithError, {}, 2, "1 error, no warnings\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Author author(c.line, kTrain);
    const auto run = author.check(c.extra);
    EXPECT_EQ(run.status, c.status) << run.error_text;
    ASSERT_GE(run.error_text.size(), std::string(c.last_line).size());
    EXPECT_EQ(run.error_text.substr(run.error_text.size() - std::string(c.last_line).size()), c.last_line);
    EXPECT_EQ(run.output_text, "");
    EXPECT_EQ(files_in(author.folder()), (std::vector<std::string>{"line.txt", "train.txt"}));
  }
}

TEST(CheckCommand, TellsEachMistakeAtItsPlaceWithTheSourceLine) {
  const Author author(kLineWithError, "[generale]\r\naderenza, 0, 100\r\nvelocita, 0, 80\r\nstazone, 0\r\n[fine]\r\n");
  const auto run = author.check();
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.error_text,
            "line.txt:5:1: error 15: a record position beyond the cell array: the pendenza at 20000 m lies past "
            "11900 m, the last position a record can take on this 5000 m route; the records after it are not read, "
            "and the train source only up to its first signal or slowdown\n"
            "    5 | pendenza, 20000, 1\n"
            "      | ^~~~~~~~\n"
            "      = at 20000 m\n"
            "train.txt:4:1: warning: unknown keyword \"stazone\": the line is passed over; did you mean \"stazione\"?\n"
            "    4 | stazone, 0\n"
            "      | ^~~~~~~\n"
            "train.txt: warning: the train source has no stations: write them as \"stazione\" records in a [stazioni] "
            "section\n"
            "1 error, 2 warnings\n");
}

TEST(CheckCommand, CouldNotRun) {
  const Author author(kLine, kTrain);
  EXPECT_EQ(author.run({"check", "--line", "missing.txt", "--train", "train.txt"}).status, 1);
  // A folder where a source belongs.
  EXPECT_EQ(author.run({"check", "--line", ".", "--train", "train.txt"}).status, 1);
  EXPECT_EQ(author.run({"check", "--line", "line.txt"}).status, 1);
}

TEST(Diagnostics, AsJsonOnCheckAndCompile) {
  const Author author(kLineWithError, "[generale]\r\naderenza, 0, 100\r\nvelocita, 0, 80\r\n[fine]\r\n");
  const auto checked = author.check({"--json"});
  EXPECT_EQ(checked.status, 2);
  const auto compiled = author.run({"compile", "--line", "line.txt", "--train", "train.txt", "--name", "N",
                                    "--train-number", "1", "--out", "out", "--json"});
  EXPECT_EQ(compiled.status, 2);
  EXPECT_TRUE(fs::exists(author.folder() / "out" / "N_1.dat"));

  const nlohmann::json expected = nlohmann::json::parse(R"([
    {"file": "line.txt", "line": 5, "column": 1, "severity": "error", "code": 15,
     "message": "a record position beyond the cell array: the pendenza at 20000 m lies past 11900 m, the last position a record can take on this 5000 m route; the records after it are not read, and the train source only up to its first signal or slowdown",
     "position_m": 20000},
    {"file": "train.txt", "line": null, "column": null, "severity": "warning", "code": null,
     "message": "the train source has no stations: write them as \"stazione\" records in a [stazioni] section",
     "position_m": null}
  ])");
  for (const auto* run : {&checked, &compiled}) {
    const nlohmann::json told = nlohmann::json::parse(run->output_text);
    EXPECT_EQ(told, expected) << run->output_text;
    // Standard error keeps the words for people, and no diagnostic twice.
    EXPECT_EQ(run->error_text.find("line.txt:5:1"), std::string::npos) << run->error_text;
  }
}

TEST(Diagnostics, InColourOnlyOnATerminalWithoutNoColor) {
  const Author author(kLineWithError, kTrain);
  const std::vector<std::string> check = {"check", "--line", "line.txt", "--train", "train.txt"};
  const std::string red_error = "\x1b[1;31merror 15:\x1b[0m";

  const auto coloured = testing::run_on_terminal(SCENARIO_TOOL_PATH, check, author.folder().string(), {"NO_COLOR="});
  EXPECT_EQ(coloured.status, 2);
  EXPECT_NE(coloured.output_text.find("\x1b[1mline.txt:5:1:\x1b[0m " + red_error), std::string::npos)
      << coloured.output_text;
  EXPECT_NE(coloured.output_text.find("\x1b[1;32m^~~~~~~~\x1b[0m"), std::string::npos) << coloured.output_text;

  const auto asked_not = testing::run_on_terminal(SCENARIO_TOOL_PATH, check, author.folder().string(), {"NO_COLOR=1"});
  EXPECT_EQ(asked_not.output_text.find('\x1b'), std::string::npos) << asked_not.output_text;
  EXPECT_NE(asked_not.output_text.find("line.txt:5:1: error 15:"), std::string::npos) << asked_not.output_text;

  // Standard error into a pipe: no colour whatever NO_COLOR says.
  EXPECT_EQ(author.check().error_text.find('\x1b'), std::string::npos);
}

TEST(CompileCommand, ACleanCompileEndsWithOneSummaryLine) {
  const Author author(render_text_file(line_source_lines()), render_text_file(train_source_lines()));
  const auto run = author.run({"compile", "--line", "line.txt", "--train", "train.txt", "--name",
                               "ValdorenaC_Morlavesa", "--train-number", "4721", "--out", "out"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.error_text,
            "compiled: route 43000 m in 1001 cells, 8 stations, 13 signals, 35 sign boards, 3 speed-limit boards; "
            "3 files written to out\n");
}

}  // namespace
}  // namespace scenario
