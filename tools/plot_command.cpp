#include "tools/plot_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <memory>

#include "platform/native_file_store.h"
#include "tools/compiled_files.h"
#include "tools/route_sheet.h"

namespace scenario {
namespace {

void complain(const std::string& message) { std::fprintf(stderr, "scenario_tool: %s\n", message.c_str()); }

}  // namespace

int run_plot(const PlotRequest& request) {
  const std::optional<SheetFormat> format = sheet_format_for(request.output);
  if (!format) {
    complain(request.output + ": the sheet's file name must end in .svg, .png or .pdf");
    return 1;
  }
  LoadedScenario loaded;
  try {
    loaded = load_compiled_scenario(request.paths);
  } catch (const UnreadableScenario& e) {
    complain(e.what());
    return 2;
  }
  if (!loaded.scenario.cells) {
    complain("a route sheet needs the cell file (<name>_<train>.dat); none was found among the files given");
    return 2;
  }
  try {
    const std::string sheet = draw_route_sheet(loaded.scenario, *format);
    NativeFileStore files;
    files.replace(request.output, sheet);
  } catch (const std::exception& e) {
    complain(e.what());
    return 1;
  }
  return 0;
}

void add_plot_command(CLI::App& app, int& status) {
  auto request = std::make_shared<PlotRequest>();
  CLI::App* plot = app.add_subcommand("plot", "draw a compiled scenario's route sheet (SVG, PNG or PDF)");
  plot->footer(
      "The sheet shows the track drawn from the line plan (without the plan file, no map), the height\n"
      "profile from the gradients coloured by steepness, the speed limit and the slowdowns, and the\n"
      "stations, signals, boards, mountain sections and kilometre marks along the route. The format\n"
      "follows the output file's extension. Exit status: 0 written; 1 the sheet could not be written;\n"
      "2 a compiled file is missing, damaged or not a compiled file.");
  plot->add_option("PATH", request->paths, "a compiled scenario's folder or files")->required();
  plot->add_option("-o,--output", request->output, "the sheet to write: .svg, .png or .pdf")->required();
  plot->callback([request, &status] { status = run_plot(*request); });
}

}  // namespace scenario
