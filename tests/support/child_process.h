#pragma once

// Runs another program of ours, as a person or a script would start it, with
// its standard error kept in a file (POSIX systems).

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace scenario::testing {

struct EnvironmentChange {
  std::vector<std::string> unset;  // names to drop from this process's environment
  std::vector<std::string> set;    // "NAME=value" to add
};

class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const EnvironmentChange& environment, const std::string& standard_error_file);
  // A child still running at the end of a test is killed.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status (128 + the signal for a killed child), or nothing when it
  // is still running after `limit`.
  std::optional<int> wait_for(std::chrono::milliseconds limit);
  bool running() { return !wait_for(std::chrono::milliseconds(0)).has_value(); }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

struct ProgramRun {
  int status = -1;
  std::string standard_error;
};

// Runs the program to its end (at most a minute) with its standard error in
// `scratch_folder`.
ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const EnvironmentChange& environment, const std::string& scratch_folder);

}  // namespace scenario::testing
