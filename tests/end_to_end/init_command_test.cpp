// `scenario_tool init`: the builder's own sources as an author's starting
// point, and the command it prints, run as printed, compiling them into the
// builder's very files.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "support/builder_runs.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

testing::ProgramRun run_tool(const std::vector<std::string>& arguments, const fs::path& folder) {
  return testing::run_program(SCENARIO_TOOL_PATH, arguments, folder.string());
}

// The command init prints: its last line, without the indent.
std::string printed_command(const std::string& output) {
  std::string text = output;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  std::string line = text.substr(text.rfind('\n') + 1);
  return line.substr(line.find_first_not_of(' '));
}

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(InitCommand, ThePrintedCommandCompilesTheSourcesIntoTheBuildersFiles) {
  const testing::BuildOutcome builder = testing::build_in_empty_folder(SCENARIO_BUILDER_PATH, {"DISPLAY="});
  ASSERT_EQ(builder.status, 0) << builder.standard_error;

  const testing::TempFolder author;
  // A folder that is not there yet, with a blank and a quote that the printed command must keep.
  const std::string folder = "scenarios/Valdorena's line";
  const auto init = run_tool({"init", folder}, author.path());
  ASSERT_EQ(init.status, 0) << init.error_text;
  EXPECT_EQ(init.error_text, "");
  const fs::path written = author.path() / folder;
  EXPECT_EQ(testing::read_file(written / "line.txt"), render_text_file(line_source_lines()));
  EXPECT_EQ(testing::read_file(written / "train.txt"), render_text_file(train_source_lines()));

  const std::string command = printed_command(init.output_text);
  const auto compile = testing::run_program("/bin/sh", {"-c", command}, author.path().string());
  ASSERT_EQ(compile.status, 0) << command << "\n" << compile.error_text;
  const std::set<std::string> compiled = {"ValdorenaC_Morlavesa_4721.dat", "ValdorenaC_Morlavesa_4721.sim",
                                          "ValdorenaC_Morlavesa_linea.dat"};
  for (const std::string& name : compiled) {
    EXPECT_TRUE(testing::read_file(written / name) == builder.files.at(name)) << name;
  }
  std::set<std::string> expected = compiled;
  expected.insert({"line.txt", "train.txt"});
  EXPECT_EQ(names_in(written), expected);
}

TEST(InitCommand, WritesNothingOverAnAuthorsSourceUnlessForced) {
  for (const std::string existing : {"line.txt", "train.txt"}) {
    SCOPED_TRACE(existing);
    const testing::TempFolder author;
    testing::write_file(author.path() / existing, "my own work");

    const auto refused = run_tool({"init", "."}, author.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.error_text.find(existing), std::string::npos) << refused.error_text;
    EXPECT_EQ(refused.output_text, "");
    // Neither source is written: the one already there stays, the other does not appear.
    EXPECT_EQ(testing::read_file(author.path() / existing), "my own work");
    EXPECT_EQ(names_in(author.path()), std::set<std::string>{existing});

    const auto forced = run_tool({"init", "--force", "."}, author.path());
    EXPECT_EQ(forced.status, 0) << forced.error_text;
    EXPECT_EQ(testing::read_file(author.path() / "line.txt"), render_text_file(line_source_lines()));
    EXPECT_EQ(testing::read_file(author.path() / "train.txt"), render_text_file(train_source_lines()));
  }
}

TEST(InitCommand, RefusesAFolderItCannotWriteInto) {
  const testing::TempFolder author;
  testing::write_file(author.path() / "a file", "");
  for (const std::string folder : {"a file", "a file/below", ""}) {
    SCOPED_TRACE(folder);
    const auto refused = run_tool({"init", folder}, author.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.error_text, "");
    EXPECT_EQ(refused.output_text, "");
  }
  EXPECT_EQ(names_in(author.path()), std::set<std::string>{"a file"});
}

}  // namespace
}  // namespace scenario
