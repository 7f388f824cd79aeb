#pragma once

// Kilometre references, mountain sections and speed-limit boards for the line
// source reader.

#include <cstdint>

#include "compiler/route_model.h"

namespace scenario {

// Orders records 81 to 83 by route position, greatest first, and adds 100 to
// the kilometre value of every falling reference. Throws WidthError when that
// value no longer fits.
void progressive_ordina(RouteModel& model);

// Records one mountain section and lays its type (and every fourth cell's
// marker for types above 10) into the cells. Cells beyond the array are
// passed over. Throws std::length_error for a section beyond the lists.
void memo_montagna(RouteModel& model, int32_t inizio, int32_t fine, int32_t tipo);

// Packs one speed-limit indicator board into the cell after its position; on
// an occupied cell stores error 21 and changes nothing else. Throws
// WidthError, changing nothing, when a packed value does not fit 16 bits.
void memo_indicatori_v_max(RouteModel& model, int32_t posizione, int32_t vas, int32_t vbs, int32_t vcs,
                           int16_t strisces, int32_t vad, int32_t vbd, int32_t vcd, int16_t strisced);

}  // namespace scenario
