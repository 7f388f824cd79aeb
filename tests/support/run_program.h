#pragma once

// Runs a program as a user would and collects what it says.

#include <optional>
#include <string>
#include <vector>

namespace scenario::testing {

struct ProgramRun {
  int status = -1;          // exit status
  std::string error_text;   // everything written to standard error
  std::string output_text;  // everything written to standard output
};

// Runs `program` with `arguments` in `folder`, with the environment given as
// NAME=value entries added to the test's own (an entry "NAME=" removes NAME),
// and, when given, a limit on the size of the files it writes (ulimit -f).
ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder,
                       const std::vector<std::string>& environment = {},
                       std::optional<unsigned long> file_size_limit = std::nullopt);

// A program's command line and environment (the test's own with NAME=value
// changes made, "NAME=" removing NAME), as exec and spawn take them.
class ProgramStart {
 public:
  ProgramStart(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment_changes);
  char* const* argv() { return argv_.data(); }
  char* const* envp() { return envp_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<std::string> entries_;
  std::vector<char*> argv_;
  std::vector<char*> envp_;
};

}  // namespace scenario::testing
