#pragma once

// Reading both sources into the route model: the line source, then (unless
// the line half stopped) the train source.

#include <optional>
#include <string>

#include "compiler/build_errors.h"
#include "compiler/route_model.h"
#include "compiler/scenario_files.h"
#include "compiler/source_checks.h"

namespace scenario {

// One source as the compile receives it.
struct SourceText {
  std::optional<std::string> bytes;  // none when the source is missing or could not be read
  std::string failure;               // why it could not be read; empty when it is simply missing
};

struct SourceTexts {
  SourceText line;
  SourceText train;
};

struct SourceReading {
  BuildError error;  // the build error record as the reading leaves it
  // The sources the reading is done with: a build that reads files from a
  // folder deletes exactly these.
  bool line_spent = false;
  bool train_spent = false;
  int32_t stations = 0;  // station records read from the train source
};

// Reads the sources into `model` (records 85 and 86 take the identity texts
// first). Build errors land in the returned record. Malformed input, or a
// source that is needed but could not be read, is error 25, and both sources
// are then spent; whatever was placed before it stays in the model. `checks`,
// when given, is told about both sources as they are read; it changes nothing
// that is read.
SourceReading read_sources(const SourceTexts& sources, const Identity& identity, bool with_plan, RouteModel& model,
                           SourceChecks* checks = nullptr);

}  // namespace scenario
