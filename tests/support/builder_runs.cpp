#include "support/builder_runs.h"

#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> names_of(const BuildOutcome& outcome) {
  std::vector<std::string> names;
  for (const auto& [name, bytes] : outcome.files) names.push_back(name);
  return names;
}

}  // namespace

BuildOutcome build_in_empty_folder(const fs::path& program, const std::vector<std::string>& environment) {
  TempFolder start_folder;
  const fs::path copy = start_folder.path() / program.filename();
  fs::copy_file(program, copy);
  const ProgramRun run = run_program(copy.string(), {}, start_folder.path().string(), environment);
  BuildOutcome outcome{run.status, run.error_text, {}};
  for (const auto& entry : fs::directory_iterator(start_folder.path())) {
    if (entry.path() != copy) outcome.files[entry.path().filename().string()] = read_file(entry.path());
  }
  return outcome;
}

void expect_same_build(const BuildOutcome& outcome, const BuildOutcome& reference) {
  EXPECT_EQ(outcome.status, reference.status);
  EXPECT_EQ(outcome.standard_error, reference.standard_error);
  ASSERT_EQ(names_of(outcome), names_of(reference));
  // One line per differing file rather than two walls of bytes.
  for (const auto& [name, bytes] : reference.files) EXPECT_TRUE(outcome.files.at(name) == bytes) << name;
}

}  // namespace scenario::testing
