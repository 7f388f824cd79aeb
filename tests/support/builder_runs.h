#pragma once

// Whole runs of a builder program in an empty start folder (POSIX systems).

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace scenario::testing {

struct BuildOutcome {
  int status = -1;
  std::string standard_error;
  std::map<std::string, std::string> files;  // name -> bytes, the program itself left out
};

// Copies the program into an empty folder of its own, runs it there with the
// environment changed as run_program() takes it, and collects what it left.
BuildOutcome build_in_empty_folder(const std::filesystem::path& program, const std::vector<std::string>& environment);

// Checks, as GoogleTest expectations, that two runs ended alike and left the
// same files with the same bytes.
void expect_same_build(const BuildOutcome& outcome, const BuildOutcome& reference);

}  // namespace scenario::testing
