#pragma once

// The train half of the source reading: profiles, stations, code points,
// signals and slowdowns.

#include <cstdint>
#include <string_view>

#include "compiler/build_errors.h"
#include "compiler/route_model.h"
#include "compiler/train_checks.h"

namespace scenario {

// Reads the train source into `model`, after the line half. `sign_floor` is
// the table record the next sign board text would take, which no station may
// reach. `error` is the build error record as the line half left it (an error
// 15 carried in stops the reading at the first signal or slowdown); the train
// half records its own failures in it, a later one over an earlier. Returns
// the number of stations read. Throws InputError, with the place of the
// record, on malformed input: the end of the text inside a record, a value
// beyond its width, a record off the route (a negative position, a board or
// stop point past the last cell). `checks`, when given, hears of every record
// and every error as the reading meets them.
int32_t read_train_source(std::string_view text, int32_t sign_floor, RouteModel& model, BuildError& error,
                          TrainChecks* checks = nullptr);

}  // namespace scenario
