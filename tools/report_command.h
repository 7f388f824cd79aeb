#pragma once

// `scenario_tool inspect`: a compiled scenario shown by meaning, as text or
// as one JSON object.

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace scenario {

struct InspectRequest {
  std::vector<std::string> paths;  // a folder, or the compiled files themselves
  bool json = false;
};

// Prints the report on standard output. Exit status 0, or 2 when the files
// cannot be found or read (the message, on standard error, names the file).
int run_inspect(const InspectRequest& request);

// Adds the subcommand; running it sets `status`.
void add_inspect_command(CLI::App& app, int& status);

}  // namespace scenario
