#pragma once

// Kilometre references, mountain sections and speed-limit boards for the line
// source reader.

#include <array>
#include <cstdint>

#include "compiler/build_errors.h"
#include "compiler/route_model.h"

namespace scenario {

// Orders records 81 to 83 by route position, greatest first, and adds 100 to
// the kilometre value of every falling reference. Throws InputError when that
// value no longer fits.
void order_km_references(RouteModel& model);

// A `montagna` record: a stretch of mountain scenery.
struct MountainSection {
  int32_t start_m = 0;
  int32_t end_m = 0;
  int32_t section_type = 0;  // above 10: the type less 10, with a marker in every fourth cell
};

// The sections recorded so far, 1-based, for joining a section to the one before.
struct MountainSections {
  std::array<int32_t, kMaxMountainSections + 1> starts{};
  std::array<int32_t, kMaxMountainSections + 1> ends{};
  int32_t count = 0;
};

// Records one mountain section and lays its type (and every fourth cell's
// marker for types above 10) into the cells. Cells beyond the array are
// passed over. Throws InputError for a section beyond the lists.
void place_mountain_section(RouteModel& model, MountainSections& sections, MountainSection section);

// An `indicatori_v` record: a board with the three speeds of each of its two
// sets (s and d) and their stripes.
struct SpeedBoard {
  int32_t position_m = 0;
  std::array<int32_t, 3> s_speeds{};  // km/h
  int16_t s_stripes = 0;
  std::array<int32_t, 3> d_speeds{};  // km/h
  int16_t d_stripes = 0;
};

// The cell a speed-limit indicator board stands in: the one after the cell that holds its position.
int32_t speed_board_cell(int32_t position_m);

// Packs one speed-limit indicator board into the cell after its position.
// Returns speed_board_cell_taken, changing nothing, on an occupied cell.
// Throws InputError, changing nothing, when a packed value does not fit 16 bits.
BuildErrorCode place_speed_board(RouteModel& model, const SpeedBoard& board);

}  // namespace scenario
