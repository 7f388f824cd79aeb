#pragma once

// Placing a signal and a slowdown into the cells for the train source reader.

#include <cstdint>

#include "compiler/build_errors.h"
#include "compiler/route_model.h"

namespace scenario {

// A `segnale` record: a signal with a left-hand (s) and a right-hand (d) set
// of values, combined pairwise into its cell.
struct SignalRecord {
  int32_t position_m = 0;
  int32_t s_type = 0;
  int32_t s1 = 0, s2 = 0, s3 = 0;
  int32_t type_tens = 0;  // tens digit of the combined signal type
  int32_t d_type = 0;
  int32_t d1 = 0, d2 = 0, d3 = 0;
  int32_t time = 0;  // for signals of left-hand type 2; 1 to 100 are raised to 101
};

// The cell a signal stands in: the one after the cell that holds its position.
int64_t signal_cell(int32_t position_m);

// Places the signal; returns signal_cell_taken, writing nothing, on an
// occupied cell. Approach codes that would fall before cell 0 are left out;
// a signal cell outside the array throws InputError.
BuildErrorCode place_signal(RouteModel& model, const SignalRecord& signal);

// A `rallentamento` record: a stretch run at reduced speed, with its boards.
struct SlowdownRecord {
  int32_t start_m = 0;
  int32_t speed_kmh = 0;
  int32_t length_m = 0;
  int32_t flag = 0;                // copied to the start and end boards
  int32_t orientation_boards = 0;  // not 0: four orientation boards lead up to the warning board
  int32_t second_value = 0;        // not 0: copied to every board, and numbers the orientation boards
};

// Where the boards of a slowdown stand.
struct SlowdownCells {
  bool warned = false;  // a warning board 1200 m ahead, for slowdowns beyond the first 1500 m
  int64_t warning = 0;
  int64_t start = 0;
  int64_t end = 0;
  bool oriented = false;          // four orientation boards lead up to the warning board
  int64_t first_orientation = 0;  // the nearest of them; the others stand in the three cells before it
};
inline constexpr int kOrientationBoards = 4;

SlowdownCells slowdown_cells(const SlowdownRecord& slowdown);

// Places the boards of the slowdown; returns warning_board_cell_taken,
// start_board_cell_taken or end_board_cell_taken (nothing written) or
// orientation_board_cell_taken (the other boards stay) on an occupied cell.
// A board cell outside the array throws InputError before anything is written.
BuildErrorCode place_slowdown(RouteModel& model, const SlowdownRecord& slowdown);

}  // namespace scenario
