#pragma once

// The compile operation: sources in, compiled route out.

#include <cstdint>
#include <vector>

#include "compiler/build_errors.h"
#include "compiler/diagnostics.h"
#include "compiler/file_store.h"
#include "compiler/route_model.h"
#include "compiler/scenario_files.h"
#include "compiler/source_reading.h"

namespace scenario {

enum class CompileStatus {
  compiled,      // the route is complete; the build error record may still hold an error
  fatal_report,  // the sources used a reserved slot: 1250 or 1251, nothing to write
  no_cells,      // the line source gave no route length: nothing to post-process or write
};

struct Compilation {
  CompileStatus status = CompileStatus::compiled;
  BuildErrorCode fatal = BuildErrorCode::none;  // 1250 or 1251 with a fatal report
  BuildError error;                             // the build error record
  RouteModel model;
  int32_t stations = 0;  // station records read from the train source
};

inline constexpr int16_t kCellStamp = 5121;  // value 1 of cell 1
inline constexpr int16_t kTableStamp = 610;  // word 1 of record 85

// Checks that the sources left the reserved slots at 0 and stamps them with
// the fixed values and identity codes. Returns none, or the fatal report for
// the first check that failed. The model must have cells 0 and 1.
BuildErrorCode stamp_reserved_slots(RouteModel& model);

// Reads the sources, post-processes and stamps the route; touches no file.
// When `diagnostics` is given, every build error is told there at the record
// that caused it, with warnings for what the format asks but the compile does
// not check; the compilation is the same either way.
Compilation compile_sources(const SourceTexts& sources, const Identity& identity, bool with_plan,
                            std::vector<Diagnostic>* diagnostics = nullptr);

// The builder's compile: reads the two sources from `folder`, deletes those the
// reading is done with (a source that cannot be deleted is error 25), compiles,
// and writes the compiled files there. Throws FileError when a compiled file
// cannot be written.
Compilation compile_scenario(FileStore& files, const ScenarioFolder& folder, const Identity& identity, bool with_plan);

}  // namespace scenario
