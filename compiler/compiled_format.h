#pragma once

// The byte layouts of the three compiled files, in one place for the writer
// (compiled_output) and the decoder (compiled_decoder), so that the two cannot
// drift apart. Little-endian, no padding, no header, no record count.

#include <cstddef>
#include <cstdint>

#include "compiler/route_model.h"

namespace scenario {

// A cell: marker, values 1 to 4, signal time, approach code, mountain type,
// speed limit, gradient, adhesion.
inline constexpr size_t kCellBytes = 15;

// A table record: kind, start, end, position, flag and the 16-bit text
// length (the head), the text, then words 1 to 5, bytes 1 to 4 and the time.
inline constexpr size_t kRecordHeadBytes = 16;
inline constexpr size_t kRecordTailBytes = 18;
inline constexpr size_t kEmptyRecordBytes = kRecordHeadBytes + kRecordTailBytes;  // a record without its text

// The line plan entry (a tag, then 0, 2 or 8 bytes) is laid out in
// route_plan.h: the plan is held in its file's form while it is computed.

// The largest files a compile writes come from the longest route: cells 0 to
// (1000000 + 7000) / 50 and plan metres 0 to 1000000 + 7000.
inline constexpr int32_t kMaxLastPlanMetre = kMaxRouteLength + kRunOut;
inline constexpr int32_t kMaxCellCount = kMaxLastPlanMetre / kCellLength + 1;
static_assert(kMaxLastPlanMetre % kCellLength == 0, "the longest route ends on a cell boundary");

}  // namespace scenario
