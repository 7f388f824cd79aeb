#include "compiler/post_processing.h"

#include <algorithm>
#include <array>

#include "compiler/arithmetic.h"

namespace scenario {
namespace {

constexpr int16_t kDerivedCodeValue = 180;
constexpr int32_t kWarningScanCells = 20;   // 1000 m before a warning board
constexpr int32_t kFirstScannedSignal = 3;  // keeps both cells before the signal at cell 1 or beyond
// Nearest of the three cells of each group before a start board: 250, 550 and 900 m back.
constexpr std::array<int32_t, 3> kStartGroups = {5, 11, 18};
constexpr int32_t kGroupCells = 3;
constexpr int16_t kWalkSpeedLimit = 110;    // a slowdown this fast or faster gets no code points along it
constexpr int kWalkSpacing = 8;             // 400 m between code points along a slow slowdown
constexpr int32_t kSignalSearchCells = 12;  // how far past the end board a signal still counts

constexpr int32_t kNoCodePointBeforeSignal = 11;
constexpr int32_t kNoCodePointBeforeStart = 12;
constexpr int32_t kNoCodePointAlongOrAfter = 13;

Cell& cell_at(RouteModel& model, int32_t index) { return model.cells[static_cast<size_t>(index)]; }

int32_t last_cell(const RouteModel& model) { return static_cast<int32_t>(model.cells.size()) - 1; }

void place_code_point(Cell& cell) {
  cell.marker = kCodePoint;
  cell.value1 = kDerivedCodeValue;
}

// Every signal up to 1000 m before a warning board gets a code point just ahead
// of it; a code point already there keeps the more restrictive value.
void mark_signals_before_warning(RouteModel& model, int32_t warning) {
  for (int32_t k = 1; k <= kWarningScanCells && warning - k >= kFirstScannedSignal; ++k) {
    const int32_t signal = warning - k;
    if (cell_at(model, signal).marker != kSignal) continue;
    Cell& nearer = cell_at(model, signal - 1);
    Cell& farther = cell_at(model, signal - 2);
    if (nearer.is_free()) {
      place_code_point(nearer);
    } else if (farther.is_free()) {
      place_code_point(farther);
    } else if (nearer.marker == kCodePoint) {
      nearer.value1 = minimo(kDerivedCodeValue, nearer.value1);
    } else if (farther.marker == kCodePoint) {
      farther.value1 = minimo(kDerivedCodeValue, farther.value1);
    } else {
      model.record_error(kNoCodePointBeforeSignal, signal * kCellLength);
    }
  }
}

// The first free cell of the group `nearest` to `nearest` + 2 cells before the start board.
void mark_group_before_start(RouteModel& model, int32_t start, int32_t nearest) {
  for (int32_t back = nearest; back < nearest + kGroupCells; ++back) {
    Cell& candidate = cell_at(model, start - back);
    if (candidate.is_free()) {
      place_code_point(candidate);
      return;
    }
  }
  model.record_error(kNoCodePointBeforeStart, start * kCellLength);
}

// Moves on from a start board to the first end board after it, or to the last
// cell when none follows, and returns where it stopped. When `place_code_points`
// is set, a code point goes every 8 cells, the count restarting from the cell
// actually used when the 8th is taken and a neighbour serves instead.
int32_t walk_to_end_board(RouteModel& model, int32_t start, bool place_code_points) {
  const int32_t last = last_cell(model);
  int32_t t = start;
  int spacing = 0;
  while (t < last) {
    ++t;
    ++spacing;
    if (place_code_points && spacing == kWalkSpacing) {
      if (cell_at(model, t).is_free()) {
        place_code_point(cell_at(model, t));
        spacing = 0;
      } else if (cell_at(model, t - 1).is_free()) {
        place_code_point(cell_at(model, t - 1));
        spacing = 1;
      } else if (t < last && cell_at(model, t + 1).is_free()) {
        place_code_point(cell_at(model, t + 1));
        spacing = -1;
      } else {
        // The count runs past 8 from here on: this walk places no further code point.
        model.record_error(kNoCodePointAlongOrAfter, t * kCellLength);
      }
    }
    if (cell_at(model, t).marker == kSlowdownEnd) break;
  }
  return t;
}

// The first signal within 12 cells from the end board gets a code point just
// ahead of it. The end board lies beyond a start board at cell 1 or later, so
// both cells before the signal exist.
void mark_signal_after_end(RouteModel& model, int32_t end) {
  const int32_t search_end = std::min(end + kSignalSearchCells, last_cell(model));
  for (int32_t signal = end; signal <= search_end; ++signal) {
    if (cell_at(model, signal).marker != kSignal) continue;
    if (cell_at(model, signal - 1).is_free()) {
      place_code_point(cell_at(model, signal - 1));
    } else if (cell_at(model, signal - 2).is_free()) {
      place_code_point(cell_at(model, signal - 2));
    } else {
      model.record_error(kNoCodePointAlongOrAfter, end * kCellLength);
    }
    return;
  }
}

void mark_slowdown_start(RouteModel& model, int32_t start) {
  for (const int32_t nearest : kStartGroups) {
    if (start > nearest + kGroupCells - 1) mark_group_before_start(model, start, nearest);
  }
  const bool slow = cell_at(model, start).value1 < kWalkSpeedLimit;
  // A fast slowdown gets no code points along it, yet the signal after it is
  // still looked for from its own end board, found the way the walk would find
  // it; never from wherever an earlier walk or scan happened to stop.
  const int32_t end = walk_to_end_board(model, start, slow);
  mark_signal_after_end(model, end);
}

}  // namespace

void post_process(RouteModel& model) {
  const int32_t last = last_cell(model);
  for (int32_t c = 1; c <= last - 2; ++c) {
    const uint8_t marker = cell_at(model, c).marker;
    if (marker == kSlowdownWarning) {
      mark_signals_before_warning(model, c);
    } else if (marker == kSlowdownStart) {
      mark_slowdown_start(model, c);
    }
  }
}

}  // namespace scenario
