#pragma once

// Reading both source files into the route model.

#include "compiler/build_context.h"

namespace scenario {

// Reads the line source file, then (unless the line half stopped) the train
// source file, deleting each when done. Failures land in the model's build
// error record; any unexpected failure while reading becomes error 25, and
// both source files are then deleted where they still exist.
void memorizza_dati(BuildContext& ctx);

}  // namespace scenario
