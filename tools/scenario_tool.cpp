// The scenario authors' command-line tool.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "tools/compile_command.h"
#include "tools/diff_command.h"
#include "tools/init_command.h"
#include "tools/plot_command.h"
#include "tools/report_command.h"
#include "tools/utf8_paths.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = scenario::utf8_arguments(argc, argv);
  std::vector<const char*> argument_texts;
  for (const std::string& argument : arguments) argument_texts.push_back(argument.c_str());

  CLI::App app{
      "Tools for authors of train-driving scenarios: check a line source and a train source, compile them\n"
      "into the files the simulator loads, exactly as the scenario builder does; start from the builder's\n"
      "own sources; inspect, compare and plot what was compiled."};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("scenario_tool ") + SCENARIO_VERSION);

  scenario::CompileRequest request;
  CLI::App* compile = app.add_subcommand("compile", "compile your line and train sources into the simulator's files");
  compile->footer(
      "Compile a line source file and a train source file into the compiled cell file (<name>_<train>.dat),\n"
      "the compiled table file (<name>_<train>.sim) and, unless --no-plan, the compiled line plan file\n"
      "(<name>_linea.dat) in the output folder. Your source files are read, never changed or deleted.\n"
      "Every build error is told at the record that caused it, as `scenario_tool check` tells it, with the\n"
      "warnings; after a clean compile, one summary line.\n"
      "Exit status: 0 compiled cleanly (warnings allowed); 2 compiled, but the compiler recorded a build\n"
      "error; 1 nothing compiled (a fatal report 1250/1251, no route length, or a file that could not be\n"
      "read or written).");
  compile->add_option("--line", request.line_source, "the line source file")
      ->required()
      ->check(scenario::existing_file());
  compile->add_option("--train", request.train_source, "the train source file")
      ->required()
      ->check(scenario::existing_file());
  compile->add_option("--name", request.scenario_name, "scenario name (stored in record 85, part of every file name)")
      ->required();
  compile
      ->add_option("--train-number", request.train_number, "train number (stored in record 86, part of the file names)")
      ->required();
  compile->add_option("--out", request.output_folder, "folder that receives the compiled files (created if missing)")
      ->required();
  bool no_plan = false;
  compile->add_flag("--no-plan", no_plan, "do not write the compiled line plan file (curve rows are then not read)");
  compile->add_flag("--json", request.json, "print the diagnostics as one JSON array on standard output");

  scenario::CheckRequest check_request;
  CLI::App* check = app.add_subcommand("check", "tell every mistake in your line and train sources; write nothing");
  check->footer(
      "Read a line source file and a train source file as the compile does and tell every build error at the\n"
      "record that caused it, with warnings for what the source format asks but the compile does not check\n"
      "(keywords nobody knows, records out of order or past the end of the line, positions off the 50 m\n"
      "cells, UTF-8 text in a Windows-1252 source...). Nothing is written. Each diagnostic reads\n"
      "  FILE:LINE:COLUMN: error N: MEANING: what to fix     (or: warning: ...)\n"
      "followed by the source line, a caret under the field and where it lands on the route.\n"
      "With --json: one JSON array on standard output, each element with file, line, column, severity\n"
      "(\"error\"/\"warning\"), code (the build error number, null for a warning), message and position_m.\n"
      "Exit status: 0 no build error (warnings allowed); 2 a build error, or with --strict a warning;\n"
      "1 the check could not run (a file that could not be read).");
  check->add_option("--line", check_request.line_source, "the line source file")
      ->required()
      ->check(scenario::existing_file());
  check->add_option("--train", check_request.train_source, "the train source file")
      ->required()
      ->check(scenario::existing_file());
  bool check_no_plan = false;
  check->add_flag("--no-plan", check_no_plan, "read as a compile without the line plan would (curve rows not read)");
  check->add_flag("--strict", check_request.strict, "count warnings as errors (exit status 2)");
  check->add_flag("--json", check_request.json, "print the diagnostics as one JSON array on standard output");

  int status = 0;  // set by the command that ran, when not compile
  scenario::add_init_command(app, status);
  scenario::add_inspect_command(app, status);
  scenario::add_diff_command(app, status);
  scenario::add_plot_command(app, status);

  try {
    app.parse(static_cast<int>(argument_texts.size()), argument_texts.data());
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    // Status 1 means "they differ" to diff's callers: a call it cannot read is trouble, 2.
    return arguments.size() > 1 && arguments[1] == "diff" ? 2 : 1;
  }
  if (check->parsed()) {
    check_request.plan = !check_no_plan;
    return scenario::run_check(check_request);
  }
  if (!compile->parsed()) return status;
  request.plan = !no_plan;
  return scenario::run_compile(request);
}
