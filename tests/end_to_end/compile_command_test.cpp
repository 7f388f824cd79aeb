// The authors' compile command against the builder it must match byte for byte.

#include <gtest/gtest.h>

#include <filesystem>

#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "support/builder_runs.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

struct AuthorFiles {
  fs::path line;
  fs::path train;
};

AuthorFiles write_sources(const testing::TempFolder& folder, const std::string& line, const std::string& train) {
  AuthorFiles files{folder.path() / "my line.txt", folder.path() / "my train.txt"};
  testing::write_file(files.line, line);
  testing::write_file(files.train, train);
  return files;
}

testing::ProgramRun compile(const AuthorFiles& files, const std::string& name, const std::string& number,
                            const fs::path& out, std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"compile",   "--line", files.line.string(), "--train", files.train.string(),
                                   "--name",    name,     "--train-number",    number,    "--out",
                                   out.string()};
  args.insert(args.end(), extra.begin(), extra.end());
  return testing::run_program(SCENARIO_TOOL_PATH, args, fs::current_path().string());
}

TEST(CompileCommand, BuiltInSourcesGiveTheBuildersBytes) {
  const testing::BuildOutcome builder = testing::build_in_empty_folder(SCENARIO_BUILDER_PATH, {"DISPLAY="});
  ASSERT_EQ(builder.status, 0) << builder.standard_error;

  testing::TempFolder author;
  const std::string line = render_text_file(line_source_lines());
  const std::string train = render_text_file(train_source_lines());
  const AuthorFiles files = write_sources(author, line, train);
  const fs::path out = author.path() / "out";

  const auto run = compile(files, "ValdorenaC_Morlavesa", "4721", out);
  EXPECT_EQ(run.status, 0) << run.error_text;
  for (const char* name :
       {"ValdorenaC_Morlavesa_4721.dat", "ValdorenaC_Morlavesa_4721.sim", "ValdorenaC_Morlavesa_linea.dat"}) {
    EXPECT_EQ(testing::read_file(out / name), builder.files.at(name)) << name;
  }
  // The author's own files are untouched.
  EXPECT_EQ(testing::read_file(files.line), line);
  EXPECT_EQ(testing::read_file(files.train), train);
}

const char* const kShortLine = "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n";

TEST(CompileCommand, NamesAreStoredAsWindows1252AndKeptAsTypedInFileNames) {
  testing::TempFolder author;
  const AuthorFiles files = write_sources(author, kShortLine, "[generale]\r\n[fine]\r\n");
  const fs::path out = author.path() / "out";

  const auto run = compile(files, "Città", "R 12", out, {"--no-plan"});
  EXPECT_EQ(run.status, 0) << run.error_text;
  EXPECT_FALSE(fs::exists(out / "Città_linea.dat"));
  EXPECT_EQ(fs::file_size(out / "Città_R 12.dat"), 15u * 161u);
  const std::string table = testing::read_file(out / "Città_R 12.sim");
  EXPECT_NE(table.find(std::string("\x05\x00"
                                   "Citt\xE0",
                                   7)),
            std::string::npos);

  const auto refused = compile(files, "Łódź", "1", out);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.error_text.find("Windows-1252"), std::string::npos) << refused.error_text;

  const auto escaping = compile(files, "../elsewhere", "1", out);
  EXPECT_EQ(escaping.status, 1);
}

TEST(CompileCommand, ExitStatusTellsBuildErrorsAndFatalReports) {
  testing::TempFolder author;
  const fs::path out = author.path() / "out";

  // A gradient far beyond the route: error 15, still compiled.
  const AuthorFiles beyond =
      write_sources(author, "[generale]\r\nlunghezza percorso, 1000\r\n[pendenze]\r\npendenza, 9000, 5\r\n[fine]\r\n",
                    "[generale]\r\n[fine]\r\n");
  const auto late = compile(beyond, "S", "1", out);
  EXPECT_EQ(late.status, 2);
  const std::string line_path = beyond.line.string();
  EXPECT_EQ(late.error_text.substr(0, late.error_text.find('\n')),
            line_path +
                ":4:1: error 15: a record position beyond the cell array: the pendenza at 9000 m lies past "
                "7900 m, the last position a record can take on this 1000 m route; the records after it are "
                "not read, and the train source only up to its first signal or slowdown");
  EXPECT_NE(late.error_text.find("\nscenario_tool: compiled with build error 15: 3 files written to " + out.string() +
                                 " (1 error, 3 warnings)\n"),
            std::string::npos)
      << late.error_text;
  EXPECT_TRUE(fs::exists(out / "S_1.dat"));

  // A board text longer than a table record holds: a read failure, recorded.
  const AuthorFiles long_text =
      write_sources(author,
                    "[generale]\r\nlunghezza percorso, 1000\r\n[indicazioni]\r\ncartello_indicatore, 350, " +
                        std::string(70000, 'x') + "\r\n[fine]\r\n",
                    "[generale]\r\n[fine]\r\n");
  const auto refused = compile(long_text, "L", "1", out);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.error_text.find(long_text.line.string() +
                                    ":4:27: error 25: run-time failure while reading a source file: a text of 70000 "
                                    "characters, more than the 65535 a table record holds\n"),
            std::string::npos)
      << refused.error_text;

  // A code point in cell 1 takes a slot the compiler stamps.
  const AuthorFiles stamped =
      write_sources(author, kShortLine, "[generale]\r\n[codici]\r\nabbattimento, 50, 40\r\n[fine]\r\n");
  const auto fatal = compile(stamped, "T", "1", out);
  EXPECT_EQ(fatal.status, 1);
  EXPECT_NE(fatal.error_text.find(" Errore n. 1250"), std::string::npos) << fatal.error_text;
  EXPECT_FALSE(fs::exists(out / "T_1.dat"));
  EXPECT_FALSE(fs::exists(out / "T_1.sim"));
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(CompileCommand, RefusesOutputsThatWouldReplaceTheAuthorsSourcesOrLandNowhere) {
  testing::TempFolder author;
  // The author keeps the line source under the very name the compiled plan would take.
  const fs::path line = author.path() / "V_linea.dat";
  const fs::path train = author.path() / "train.txt";
  const std::string line_text = "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n";
  testing::write_file(line, line_text);
  testing::write_file(train, "[generale]\r\n[fine]\r\n");
  const AuthorFiles files{line, train};

  const auto clash = compile(files, "V", "1", author.path());
  EXPECT_EQ(clash.status, 1);
  EXPECT_NE(clash.error_text.find("V_linea.dat is one of your source files"), std::string::npos) << clash.error_text;
  EXPECT_EQ(testing::read_file(line), line_text);
  EXPECT_FALSE(fs::exists(author.path() / "V_1.dat"));

  // Without the plan the two files do not meet.
  EXPECT_EQ(compile(files, "V", "1", author.path(), {"--no-plan"}).status, 0);
  EXPECT_EQ(testing::read_file(line), line_text);

  const auto nowhere = compile(files, "V", "1", "");
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.error_text.find("output folder"), std::string::npos) << nowhere.error_text;
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(ScenarioTool, ReportsItsVersion) {
  const auto run = testing::run_program(SCENARIO_TOOL_PATH, {"--version"}, fs::current_path().string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output_text, std::string("scenario_tool ") + SCENARIO_VERSION + "\n");
}

}  // namespace
}  // namespace scenario
