#pragma once

// Code points derived from the placed markers: before slowdown boards, along
// slow slowdowns and around nearby signals.

#include "compiler/build_errors.h"
#include "compiler/route_model.h"

namespace scenario {

// Adds the derived code points to a model with at least cells 0 and 1.
// Returns the failure found last (none when every code point found a cell);
// its position is the cell's start in metres.
BuildError post_process(RouteModel& model);

}  // namespace scenario
