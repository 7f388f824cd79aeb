#include "compiler/signal_placement.h"

#include "compiler/arithmetic.h"
#include "compiler/cell_access.h"

namespace scenario {
namespace {

// A distance in cell lengths as a cell index, halves to the even neighbour.
int64_t cell_nearest(double cells) { return static_cast<int64_t>(nearest_even(cells)); }

// Boards stand in the cell after the one that holds their position.
int64_t board_cell(int64_t metres) { return cell_nearest(static_cast<double>(metres) / kCellLength + 1); }

constexpr int32_t kWarningDistance = 1200;  // metres from the warning board to the slowdown
constexpr int32_t kWarnedFrom = 1500;       // slowdowns nearer the start get no warning board

}  // namespace

int64_t signal_cell(int32_t position_m) { return board_cell(position_m); }

SlowdownCells slowdown_cells(const SlowdownRecord& slowdown) {
  const int64_t start_metres = slowdown.start_m;
  SlowdownCells cells;
  cells.warned = start_metres > kWarnedFrom;
  // Orientation boards only ever lead up to a warning board.
  cells.oriented = cells.warned && slowdown.orientation_boards != 0;
  cells.warning = board_cell(start_metres - kWarningDistance);
  cells.start = board_cell(start_metres);
  cells.end = board_cell(start_metres + slowdown.length_m);
  cells.first_orientation = cell_nearest(static_cast<double>(start_metres - kWarningDistance) / kCellLength);
  return cells;
}

BuildErrorCode place_signal(RouteModel& model, const SignalRecord& record) {
  const int64_t c = signal_cell(record.position_m);
  Cell& signal = cell_at(model, c);
  if (!signal.is_free()) return BuildErrorCode::signal_cell_taken;
  const int64_t combined_type = int64_t{record.s_type} * 3 + record.d_type;
  signal.marker = kSignal;
  signal.value4 = low_16_bits(int64_t{record.type_tens} * 10 + combined_type);
  signal.value1 = low_16_bits(int64_t{record.s1} * 10 + record.d1);
  signal.value2 = low_16_bits(int64_t{record.s2} * 10 + record.d2);
  signal.value3 = low_16_bits(int64_t{record.s3} * 10 + record.d3);

  // Short times are raised to the least the simulator keeps.
  const int32_t time = record.time >= 1 && record.time <= 100 ? 101 : record.time;
  signal.signal_time = record.s_type == 2 ? low_8_bits(time) : 0;

  for (int k = 1; k <= 4; ++k) {
    const int64_t approach = c - 2 * k;
    // A departure signal near the route start has fewer approach cells ahead of it.
    if (approach < 0) break;
    model.cells[static_cast<size_t>(approach)].approach_code = low_8_bits(combined_type * 10 + k);
  }
  return BuildErrorCode::none;
}

BuildErrorCode place_slowdown(RouteModel& model, const SlowdownRecord& slowdown) {
  // Speed, flag and second value are copied into 16-bit fields, not combined:
  // one that does not fit is refused before any cell is written.
  const auto speed = nearest_even_as<int16_t>(slowdown.speed_kmh);
  const auto flag = nearest_even_as<int16_t>(slowdown.flag);
  const auto second_value = nearest_even_as<int16_t>(slowdown.second_value);
  const SlowdownCells cells = slowdown_cells(slowdown);
  const bool warned = cells.warned;
  const bool oriented = cells.oriented;

  // The warning, start and end cells are all checked before any is written; a
  // cell outside the array refuses the record where the check reaches it.
  const int64_t w = cells.warning;
  if (warned && !cell_at(model, w).is_free()) return BuildErrorCode::warning_board_cell_taken;
  const int64_t s = cells.start;
  if (!cell_at(model, s).is_free()) return BuildErrorCode::start_board_cell_taken;
  const int64_t e = cells.end;
  if (!cell_at(model, e).is_free()) return BuildErrorCode::end_board_cell_taken;

  Cell& end = cell_at(model, e);
  Cell& start = cell_at(model, s);
  end.marker = kSlowdownEnd;
  if (slowdown.second_value != 0) end.value2 = second_value;
  // A slowdown shorter than half a cell ends in its start cell, which keeps the start board.
  start.marker = kSlowdownStart;
  if (slowdown.second_value != 0) start.value2 = second_value;
  if (warned) {
    Cell& warning = cell_at(model, w);
    warning.marker = kSlowdownWarning;
    if (slowdown.second_value != 0) warning.value2 = second_value;
    warning.value1 = speed;
  }
  start.value1 = speed;
  start.value3 = flag;
  end.value1 = speed;
  end.value3 = flag;

  if (!oriented) return BuildErrorCode::none;
  const int64_t b = cells.first_orientation;
  for (int i = 0; i < kOrientationBoards; ++i) {
    if (!cell_at(model, b - i).is_free()) return BuildErrorCode::orientation_board_cell_taken;
  }
  for (int i = 0; i < kOrientationBoards; ++i) {
    Cell& board = cell_at(model, b - i);
    board.marker = kOrientationBoard;
    board.value1 = static_cast<int16_t>(i + 1);
    if (slowdown.second_value != 0) board.value2 = static_cast<int16_t>(i + 1);
  }
  return BuildErrorCode::none;
}

}  // namespace scenario
