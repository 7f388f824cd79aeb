#pragma once

// The train half of the source reading: profiles, stations, code points,
// signals and slowdowns.

#include <cstdint>

#include "compiler/build_context.h"

namespace scenario {

// Reads and deletes the train source file; `sign_floor` is the table record
// the next sign board text would take, which no station may reach. Build
// errors land in the model's error record. Throws on a failure of the reading
// itself (a file that cannot be read, the end of the file inside a record, a
// value beyond its width) and on a record off the route (a negative position,
// a board or stop point past the last cell), leaving the file for the
// caller's handler, which turns it into error 25.
void read_train_source(BuildContext& ctx, int32_t sign_floor);

}  // namespace scenario
