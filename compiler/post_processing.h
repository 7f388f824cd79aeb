#pragma once

// Code points derived from the placed markers: before slowdown boards, along
// slow slowdowns and around nearby signals.

#include "compiler/route_model.h"

namespace scenario {

void post_process(RouteModel& model);

}  // namespace scenario
