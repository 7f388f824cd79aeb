#include "compiler/compile.h"

#include <optional>
#include <string>
#include <utility>

#include "compiler/compiled_output.h"
#include "compiler/identity_codes.h"
#include "compiler/post_processing.h"

namespace scenario {
namespace {

// Post-processes and stamps what the reading left in `compilation`.
void complete(Compilation& compilation, SourceChecks* checks = nullptr) {
  RouteModel& model = compilation.model;
  // Cell 1 carries the stamps, so a route without it cannot be finished either.
  if (model.cells.size() < 2) {
    compilation.status = CompileStatus::no_cells;
    return;
  }
  // A derived code point without a cell is a failure of the route, not of one record.
  if (BuildError derived = post_process(model); derived.is_set()) {
    if (checks) checks->derived_code_point_failed(model, derived);
    compilation.error = std::move(derived);
  }
  if (const BuildErrorCode fatal = stamp_reserved_slots(model); fatal != BuildErrorCode::none) {
    if (checks) checks->reserved_slot_used(model, fatal);
    compilation.status = CompileStatus::fatal_report;
    compilation.fatal = fatal;
  }
}

SourceText load_source(FileStore& files, const std::string& path) {
  SourceText text;
  if (!files.is_regular_file(path)) return text;
  try {
    text.bytes = files.read(path);
  } catch (const FileError& failure) {
    text.failure = failure.what();
  }
  return text;
}

// Deletes the sources the reading is done with. One that cannot be deleted
// fails the reading (error 25), and then both go where they still can.
void delete_spent_sources(FileStore& files, const std::string& line_path, const std::string& train_path,
                          const SourceReading& reading, BuildError& error) {
  try {
    if (reading.line_spent) files.remove(line_path);
    if (reading.train_spent) files.remove(train_path);
  } catch (const FileError& failure) {
    error.code = BuildErrorCode::read_failure;
    error.source = SourceFile::none;
    error.detail = failure.what();
    for (const std::string* path : {&line_path, &train_path}) {
      try {
        files.remove(*path);
      } catch (const FileError&) {
        // A source that cannot be deleted does not hide the failure already recorded.
      }
    }
  }
}

}  // namespace

BuildErrorCode stamp_reserved_slots(RouteModel& model) {
  TableRecord& scenario_record = model.table[kScenarioRecord];
  Cell& cell1 = model.cells.at(1);
  if (scenario_record.word1 != 0 || cell1.value1 != 0) return BuildErrorCode::stamp_slot_used;
  scenario_record.word1 = kTableStamp;
  cell1.value1 = kCellStamp;
  if (scenario_record.time != 0 || cell1.value2 != 0) return BuildErrorCode::identity_code_slot_used;
  scenario_record.time = table_identity_code(model);
  cell1.value2 = static_cast<int16_t>(route_identity_code(model));
  return BuildErrorCode::none;
}

Compilation compile_sources(const SourceTexts& sources, const Identity& identity, bool with_plan,
                            std::vector<Diagnostic>* diagnostics) {
  Compilation compilation;
  std::optional<SourceChecks> checks;
  if (diagnostics) checks.emplace(*diagnostics);
  const SourceReading reading =
      read_sources(sources, identity, with_plan, compilation.model, checks ? &*checks : nullptr);
  compilation.error = reading.error;
  compilation.stations = reading.stations;
  complete(compilation, checks ? &*checks : nullptr);
  return compilation;
}

Compilation compile_scenario(FileStore& files, const ScenarioFolder& folder, const Identity& identity, bool with_plan) {
  const std::string line_path = folder.path(line_source_name(identity));
  const std::string train_path = folder.path(train_source_name(identity));
  // Only a regular file is a source: anything else at its name counts as missing.
  const SourceTexts sources{load_source(files, line_path), load_source(files, train_path)};

  Compilation compilation;
  const SourceReading reading = read_sources(sources, identity, with_plan, compilation.model);
  compilation.error = reading.error;
  delete_spent_sources(files, line_path, train_path, reading, compilation.error);
  complete(compilation);
  if (compilation.status == CompileStatus::compiled) write_compiled_files(files, folder, identity, compilation.model);
  return compilation;
}

}  // namespace scenario
