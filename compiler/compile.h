#pragma once

// The compile operation: sources in, compiled files out.

#include <cstdint>

#include "compiler/build_context.h"

namespace scenario {

struct CompileResult {
  enum class Status {
    written,        // compiled files written; the model's build error may still be set
    fatal_report,   // a reserved slot was used by the sources: 1250 or 1251, nothing written
    no_cell_array,  // the line source gave no route length: nothing to post-process or write
  };
  Status status = Status::written;
  int32_t fatal_number = 0;
};

inline constexpr int16_t kCellStamp = 5121;  // value 1 of cell 1
inline constexpr int16_t kTableStamp = 610;  // word 1 of record 85

// Checks that the sources left the reserved slots at 0 and stamps them with
// the fixed values and identity codes. Returns 0, or 1250 / 1251 for the first
// check that failed. The model must have cells.
int32_t stamp_reserved_slots(RouteModel& model);

// Prepares the model with plan flag `j`, reads the sources, post-processes,
// stamps and writes the compiled files. Throws FileError when a compiled file
// cannot be written.
CompileResult memorizza_percorso(BuildContext& ctx, int32_t& j);

}  // namespace scenario
