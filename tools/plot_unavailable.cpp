// `scenario_tool plot` in a build without cairo (the Windows tool: Debian has
// no cairo for MinGW-w64). The command is there, so that the author learns
// why there is no sheet, rather than that the tool does not know the word.

#include <CLI/CLI.hpp>
#include <cstdio>

#include "tools/plot_command.h"

namespace scenario {

void add_plot_command(CLI::App& app, int& status) {
  CLI::App* plot = app.add_subcommand("plot", "not in this build: draws a compiled scenario's route sheet");
  plot->footer(
      "This build of scenario_tool has no drawing library, so it cannot draw route sheets. The Linux\n"
      "scenario_tool draws them from the same compiled files. Exit status: 1.");
  // Whatever the author adds is taken in, so that the answer is always the same one.
  plot->allow_extras();
  plot->callback([&status] {
    std::fprintf(stderr,
                 "scenario_tool: plot is not in this build, which has no drawing library; the Linux scenario_tool "
                 "draws route sheets from the same compiled files\n");
    status = 1;
  });
}

}  // namespace scenario
