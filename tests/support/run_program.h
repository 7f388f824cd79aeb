#pragma once

// Runs a program as a user would and collects what it says.

#include <string>
#include <vector>

namespace scenario::testing {

struct ProgramRun {
  int status = -1;          // exit status
  std::string error_text;   // everything written to standard error
  std::string output_text;  // everything written to standard output
};

// Runs `program` with `arguments` in `folder`, with the environment given as
// NAME=value entries added to the test's own (an entry "NAME=" removes NAME).
ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                       const std::vector<std::string>& environment = {});

}  // namespace scenario::testing
