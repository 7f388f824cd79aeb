#include "compiler/source_reading.h"

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

SourceReading read_sources(const SourceTexts& sources, const Identity& identity, bool with_plan, RouteModel& model) {
  model.table[kScenarioRecord].text = identity.scenario_name;
  model.table[kTrainNumberRecord].text = identity.train_number;

  SourceReading reading;
  if (!sources.line.bytes) {
    if (sources.line.failure.empty()) {
      reading.error.code = BuildErrorCode::line_source_missing;
    } else {
      fail_reading(reading, SourceFile::line, sources.line.failure);
    }
    return reading;
  }
  reading.line_spent = true;

  SourceFile reading_now = SourceFile::line;
  try {
    const LineReading line = read_line_source(*sources.line.bytes, with_plan, model, reading.error);
    if (!line.read_train_source) return reading;
    if (!sources.train.bytes) {
      fail_reading(reading, SourceFile::train, why_unreadable(sources.train, "train"));
      return reading;
    }
    reading_now = SourceFile::train;
    reading.train_spent = true;
    read_train_source(*sources.train.bytes, line.sign_floor, model, reading.error);
  } catch (const InputError& failure) {
    fail_reading(reading, reading_now, failure.what(), failure.place().value_or(SourcePlace{}));
  }
  return reading;
}

}  // namespace scenario
