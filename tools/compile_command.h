#pragma once

// `scenario_tool compile`: an author's own line and train sources compiled
// exactly as the builder compiles its built-in ones; `scenario_tool check`:
// the same reading, told in full, with nothing written.

#include <string>

namespace scenario {

struct CompileRequest {
  std::string line_source;    // any path
  std::string train_source;   // any path
  std::string scenario_name;  // UTF-8, as typed
  std::string train_number;   // UTF-8, as typed
  std::string output_folder;
  bool plan = true;
  bool json = false;  // the diagnostics as one JSON array on standard output
};

// Exit status: 0 compiled cleanly, 2 compiled with a build error, 1 a fatal
// report, no cells, or a file that could not be read or written. Diagnostics
// and messages go to standard error (the diagnostics to standard output with
// `json`); after a clean compile, one summary line. The author's files are
// never changed.
int run_compile(const CompileRequest& request);

// `scenario_tool check`: every diagnostic of both sources, nothing written.
struct CheckRequest {
  std::string line_source;
  std::string train_source;
  bool plan = true;
  bool strict = false;  // warnings count as errors
  bool json = false;
};

// Exit status: 0 no errors (warnings allowed, unless `strict`), 2 a build
// error (or, with `strict`, a warning), 1 the check could not run.
int run_check(const CheckRequest& request);

}  // namespace scenario
