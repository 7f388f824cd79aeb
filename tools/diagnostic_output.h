#pragma once

// How the author tool shows diagnostics: as text on standard error (in colour
// on a terminal, unless NO_COLOR is set), or as one JSON array on standard
// output for other programs.

#include <string>
#include <vector>

#include "compiler/compile.h"
#include "compiler/diagnostics.h"

namespace scenario {

// The author's two sources: the paths as given and the bytes read from them.
struct AuthorSources {
  std::string line_path;
  std::string train_path;
  std::string line_text;
  std::string train_text;
};

// Every diagnostic as the compiler's text, on standard error.
void print_diagnostics(const std::vector<Diagnostic>& diagnostics, const AuthorSources& sources);

// The diagnostics as one JSON array, each with file, line, column, severity,
// code, message and position_m (null where a diagnostic has none).
std::string diagnostics_json(const std::vector<Diagnostic>& diagnostics, const AuthorSources& sources);

// "2 errors, 1 warning", "no errors, 1 warning".
std::string count_text(const std::vector<Diagnostic>& diagnostics);

// One line after a clean compile: route length, cells, stations, signals, boards, files written.
std::string compile_summary(const Compilation& compilation, size_t files_written, const std::string& folder);

}  // namespace scenario
