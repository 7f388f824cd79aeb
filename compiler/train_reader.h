#pragma once

// The train half of the source reading: profiles, stations, code points,
// signals and slowdowns.

#include <cstdint>

#include "compiler/build_context.h"

namespace scenario {

// Reads and deletes the train source file; `sign_floor` is the first table
// record below the sign board texts. Throws on a failure of the reading
// itself; the caller turns that into error 25.
void read_train_source(BuildContext& ctx, int32_t sign_floor);

}  // namespace scenario
