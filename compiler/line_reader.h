#pragma once

// The line half of the source reading: the line source text into cells, the
// route plan and the table.

#include <cstdint>
#include <string_view>

#include "compiler/build_errors.h"
#include "compiler/line_checks.h"
#include "compiler/route_model.h"

namespace scenario {

struct LineReading {
  bool read_train_source = false;        // false when the line half stopped on an error
  int32_t sign_floor = kSignFloorStart;  // table record the next sign board text would take
};

// Reads the line source into `model`, whose records 85 and 86 already hold the
// identity texts; the plan is compiled when `with_plan` is set, and finished
// however the reading ends. Failures are recorded in `error` (error 15 still
// lets the train source be read). Throws InputError, with the place of the
// record, on malformed input. `checks`, when given, hears of every record and
// every error as the reading meets them.
LineReading read_line_source(std::string_view text, bool with_plan, RouteModel& model, BuildError& error,
                             LineChecks* checks = nullptr);

}  // namespace scenario
