#pragma once

// What the builder says on standard error, the same on every backend, so that
// a run from a terminal or CI reads alike whether a window was shown or not.

#include <string>

namespace scenario {

void say_on_terminal(const std::string& line);

}  // namespace scenario
