#pragma once

// The line half of the source reading: the line source file into cells, the
// route plan and the table.

#include <cstdint>

#include "compiler/build_context.h"

namespace scenario {

struct LineReadResult {
  bool read_train_source = false;        // false when the line half stopped on an error
  int32_t sign_floor = kSignFloorStart;  // table record the next sign board text would take
};

// Reads and deletes the line source file. Records 85 and 86 already hold the
// identity texts. Throws on a failure of the reading itself; the caller turns
// that into error 25.
LineReadResult read_line_source(BuildContext& ctx);

}  // namespace scenario
