#pragma once

// Plain-words meanings of the build error numbers the compiler records.

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/route_model.h"

namespace scenario {

// The meaning of a build error number; "unknown build error" for a number the
// compiler never records.
std::string_view build_error_meaning(int32_t number);

// True for the errors that record where on the route they lie; the others
// leave the error position as it was.
bool build_error_has_position(int32_t number);

// One line for a person: "build error 15: a record position beyond the cell
// array, at 43000 m"; errors without a position of their own give none.
std::string describe_build_error(const BuildError& error);

}  // namespace scenario
