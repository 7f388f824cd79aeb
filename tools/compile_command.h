#pragma once

// `scenario_tool compile`: an author's own line and train sources compiled
// exactly as the builder compiles its built-in ones.

#include <string>

namespace scenario {

struct CompileRequest {
  std::string line_source;    // any path
  std::string train_source;   // any path
  std::string scenario_name;  // UTF-8, as typed
  std::string train_number;   // UTF-8, as typed
  std::string output_folder;
  bool plan = true;
};

// Exit status: 0 compiled cleanly, 2 compiled with a build error, 1 a fatal
// report, no cells, or a file that could not be read or written. Messages go
// to standard error. The author's files are never changed.
int run_compile(const CompileRequest& request);

}  // namespace scenario
