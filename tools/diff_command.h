#pragma once

// `scenario_tool diff`: two compiled scenarios compared field by field.

#include <cstddef>
#include <string>

namespace CLI {
class App;
}

namespace scenario {

struct DiffRequest {
  std::string first;   // a folder or a compiled file
  std::string second;  // the same kind as `first`
  size_t limit = 200;  // differences shown at most; 0 shows all
};

// Prints one line per differing field on standard output. Exit status 0 when
// the two are equal, 1 when they differ, 2 when a file cannot be read.
int run_diff(const DiffRequest& request);

// Adds the subcommand; running it sets `status`.
void add_diff_command(CLI::App& app, int& status);

}  // namespace scenario
