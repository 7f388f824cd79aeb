#pragma once

// `scenario_tool plot`: the route sheet of a compiled scenario as SVG, PNG or PDF.

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace scenario {

struct PlotRequest {
  std::vector<std::string> paths;  // a folder, or the compiled files themselves
  std::string output;              // .svg, .png or .pdf
};

// Writes the sheet. Exit status 0, 1 when the sheet cannot be written, 2 when
// the compiled files cannot be found or read.
int run_plot(const PlotRequest& request);

// Adds the subcommand; running it sets `status`.
void add_plot_command(CLI::App& app, int& status);

}  // namespace scenario
