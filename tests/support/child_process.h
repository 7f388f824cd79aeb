#pragma once

// Starts another program of ours and lets the test act while it runs: a box
// it shows can be answered before it ends (POSIX systems). For a program that
// is only run to its end, see run_program.h.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace scenario::testing {

class ChildProcess {
 public:
  // Starts `program` with this process's environment changed as
  // run_program() takes it, its standard input empty and its standard error
  // going to `standard_error_file`.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& standard_error_file, const std::vector<std::string>& environment = {});
  // A child still running at the end of a test is killed.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status (128 + the signal for a killed child), or nothing when it
  // is still running after `limit`.
  std::optional<int> wait_for(std::chrono::milliseconds limit);
  bool running() { return !wait_for(std::chrono::milliseconds(0)).has_value(); }
  // Kills the child at once, unless it has ended already; its exit status.
  int kill();

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

}  // namespace scenario::testing
