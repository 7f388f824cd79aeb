#pragma once

// Finding and reading a compiled scenario for the commands that look at one:
// a folder holding its files, or the files themselves, told apart by name and
// then checked by size and shape by the core's decoder.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "compiler/compiled_decoder.h"

namespace scenario {

// A compiled scenario that cannot be found or read: the message names the file
// and what is wrong with it.
class UnreadableScenario : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CompiledPaths {
  std::optional<std::string> cells;      // <name>_<train>.dat
  std::optional<std::string> table;      // <name>_<train>.sim
  std::optional<std::string> line_plan;  // <name>_linea.dat
};

struct LoadedScenario {
  CompiledPaths paths;
  DecodedScenario scenario;
  std::optional<size_t> cell_bytes, table_bytes, line_plan_bytes;  // file sizes
};

// Sorts folders and files into one scenario's three files. Throws UnreadableScenario.
CompiledPaths find_compiled_files(const std::vector<std::string>& paths);

// Finds, reads and decodes. Throws UnreadableScenario.
LoadedScenario load_compiled_scenario(const std::vector<std::string>& paths);

}  // namespace scenario
