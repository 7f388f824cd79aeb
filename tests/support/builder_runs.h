#pragma once

// Whole runs of a builder program in an empty start folder (POSIX systems).

#include <filesystem>
#include <map>
#include <string>

#include "support/child_process.h"

namespace scenario::testing {

struct BuildOutcome {
  int status = -1;
  std::string standard_error;
  std::map<std::string, std::string> files;  // name -> bytes, the program itself left out
};

// Copies the program into an empty folder of its own, runs it there and takes
// what it left behind.
BuildOutcome build_in_empty_folder(const std::filesystem::path& program, const EnvironmentChange& environment);

// Checks, as a GoogleTest expectation, that two runs ended alike and left the
// same files with the same bytes.
void expect_same_build(const BuildOutcome& outcome, const BuildOutcome& reference);

}  // namespace scenario::testing
