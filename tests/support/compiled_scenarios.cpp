#include "support/compiled_scenarios.h"

#include <gtest/gtest.h>

#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"

namespace scenario::testing {

namespace fs = std::filesystem;

ProgramRun run_tool(const std::vector<std::string>& arguments) {
  return run_program(SCENARIO_TOOL_PATH, arguments, fs::current_path().string());
}

fs::path compile_sources(const TempFolder& folder, const std::string& line, const std::string& train,
                         const std::string& name, const std::string& number, const std::vector<std::string>& extra) {
  const fs::path line_file = folder.path() / "line.txt";
  const fs::path train_file = folder.path() / "train.txt";
  const fs::path out = folder.path() / "out";
  write_file(line_file, line);
  write_file(train_file, train);
  std::vector<std::string> arguments = {"compile",   "--line", line_file.string(), "--train", train_file.string(),
                                        "--name",    name,     "--train-number",   number,    "--out",
                                        out.string()};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  const ProgramRun run = run_tool(arguments);
  EXPECT_EQ(run.status, 0) << run.error_text;
  if (run.status != 0) throw std::runtime_error("the sources did not compile cleanly: " + run.error_text);
  return out;
}

fs::path compile_built_in(const TempFolder& folder, const std::vector<std::string>& extra) {
  return compile_sources(folder, render_text_file(line_source_lines()), render_text_file(train_source_lines()),
                         "ValdorenaC_Morlavesa", "4721", extra);
}

}  // namespace scenario::testing
