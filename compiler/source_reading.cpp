#include "compiler/source_reading.h"

#include <optional>
#include <utility>

#include "compiler/line_reader.h"
#include "compiler/train_reader.h"

namespace scenario {
namespace {

// The one handler for every failure of the reading itself: whatever was
// placed stays, both sources are spent, and the failure is error 25.
void fail_reading(SourceReading& reading, SourceFile source, std::string why, SourcePlace place = {}) {
  reading.error.code = BuildErrorCode::read_failure;
  reading.error.source = source;
  reading.error.place = place;
  reading.error.detail = std::move(why);
  reading.line_spent = true;
  reading.train_spent = true;
}

std::string why_unreadable(const SourceText& text, std::string_view what) {
  return text.failure.empty() ? "the " + std::string(what) + " source file is missing" : text.failure;
}

}  // namespace

SourceReading read_sources(const SourceTexts& sources, const Identity& identity, bool with_plan, RouteModel& model,
                           SourceChecks* checks) {
  model.table[kScenarioRecord].text = identity.scenario_name;
  model.table[kTrainNumberRecord].text = identity.train_number;

  SourceReading reading;
  // The train source is told about even when the line half keeps it from being read.
  const auto train_not_read = [&] {
    if (!checks) return;
    if (sources.train.bytes) checks->check_text(SourceFile::train, *sources.train.bytes);
    checks->train_source_not_read(reading.error);
  };
  if (!sources.line.bytes) {
    if (sources.line.failure.empty()) {
      reading.error.code = BuildErrorCode::line_source_missing;
      if (checks) checks->error(reading.error.code, SourceFile::line, std::nullopt, "");
    } else {
      fail_reading(reading, SourceFile::line, sources.line.failure);
      if (checks) checks->error(reading.error.code, SourceFile::line, std::nullopt, sources.line.failure);
    }
    train_not_read();
    return reading;
  }
  reading.line_spent = true;

  std::optional<LineChecks> line_checks;
  std::optional<TrainChecks> train_checks;
  if (checks) {
    checks->check_text(SourceFile::line, *sources.line.bytes);
    line_checks.emplace(*checks, model);
    train_checks.emplace(*checks, model);
  }
  SourceFile reading_now = SourceFile::line;
  try {
    const LineReading line =
        read_line_source(*sources.line.bytes, with_plan, model, reading.error, line_checks ? &*line_checks : nullptr);
    if (!line.read_train_source) {
      train_not_read();
      return reading;
    }
    if (!sources.train.bytes) {
      fail_reading(reading, SourceFile::train, why_unreadable(sources.train, "train"));
      if (checks) checks->error(reading.error.code, SourceFile::train, std::nullopt, reading.error.detail);
      return reading;
    }
    reading_now = SourceFile::train;
    reading.train_spent = true;
    if (checks) checks->check_text(SourceFile::train, *sources.train.bytes);
    reading.stations = read_train_source(*sources.train.bytes, line.sign_floor, model, reading.error,
                                         train_checks ? &*train_checks : nullptr);
  } catch (const InputError& failure) {
    fail_reading(reading, reading_now, failure.what(), failure.place().value_or(SourcePlace{}));
    if (checks) checks->read_failure(reading_now, failure);
    if (reading_now == SourceFile::line) train_not_read();
  }
  return reading;
}

}  // namespace scenario
