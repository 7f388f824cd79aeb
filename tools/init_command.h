#pragma once

// `scenario_tool init`: the builder's own line and train sources written into
// a folder as an author's starting point, with the command that compiles them.

#include <string>

namespace CLI {
class App;
}

namespace scenario {

// The sources' names within the folder.
inline constexpr const char* kInitLineSource = "line.txt";
inline constexpr const char* kInitTrainSource = "train.txt";

struct InitRequest {
  std::string folder;   // UTF-8, as typed; created when missing
  bool force = false;   // replace sources already there
  std::string program;  // the tool as it was started, for the printed command
};

// Writes both sources, or neither when one is already there (without force),
// and prints the compile command on standard output. Exit status 0 written,
// 1 not written (the message, on standard error, says why).
int run_init(const InitRequest& request);

// Adds the subcommand; running it sets `status`.
void add_init_command(CLI::App& app, int& status);

}  // namespace scenario
