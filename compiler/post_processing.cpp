#include "compiler/post_processing.h"

#include <algorithm>
#include <array>

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

// The post-processing works on a model whose cells it indexes within 1..U by
// construction; each failure is kept, the later one in place of the earlier.
struct Pass {
  RouteModel& model;
  BuildError error;

  Cell& cell(int32_t index) { return model.cells[static_cast<size_t>(index)]; }
  int32_t last_cell() const { return model.last_cell_index(); }
  void record(BuildErrorCode code, int32_t cell_index) {
    error.code = code;
    error.position = cell_index * kCellLength;
  }
};

void place_code_point(Cell& cell) {
  cell.marker = kCodePoint;
  cell.value1 = kDerivedCodeValue;
}

// Every signal up to 1000 m before a warning board gets a code point just ahead
// of it; a code point already there keeps the more restrictive value.
void mark_signals_before_warning(Pass& pass, int32_t warning) {
  for (int32_t k = 1; k <= kWarningScanCells && warning - k >= kFirstScannedSignal; ++k) {
    const int32_t signal = warning - k;
    if (pass.cell(signal).marker != kSignal) continue;
    Cell& nearer = pass.cell(signal - 1);
    Cell& farther = pass.cell(signal - 2);
    if (nearer.is_free()) {
      place_code_point(nearer);
    } else if (farther.is_free()) {
      place_code_point(farther);
    } else if (nearer.marker == kCodePoint) {
      nearer.value1 = std::min(kDerivedCodeValue, nearer.value1);
    } else if (farther.marker == kCodePoint) {
      farther.value1 = std::min(kDerivedCodeValue, farther.value1);
    } else {
      pass.record(BuildErrorCode::no_code_point_before_signal, signal);
    }
  }
}

// The first free cell of the group `nearest` to `nearest` + 2 cells before the start board.
void mark_group_before_start(Pass& pass, int32_t start, int32_t nearest) {
  for (int32_t back = nearest; back < nearest + kGroupCells; ++back) {
    Cell& candidate = pass.cell(start - back);
    if (candidate.is_free()) {
      place_code_point(candidate);
      return;
    }
  }
  pass.record(BuildErrorCode::no_code_point_before_slowdown, start);
}

// Moves on from a start board to the first end board after it, or to the last
// cell when none follows, and returns where it stopped. When `place_code_points`
// is set, a code point goes every 8 cells, the count restarting from the cell
// actually used when the 8th is taken and a neighbour serves instead.
int32_t walk_to_end_board(Pass& pass, int32_t start, bool place_code_points) {
  const int32_t last = pass.last_cell();
  int32_t t = start;
  int spacing = 0;
  while (t < last) {
    ++t;
    ++spacing;
    if (place_code_points && spacing == kWalkSpacing) {
      if (pass.cell(t).is_free()) {
        place_code_point(pass.cell(t));
        spacing = 0;
      } else if (pass.cell(t - 1).is_free()) {
        place_code_point(pass.cell(t - 1));
        spacing = 1;
      } else if (t < last && pass.cell(t + 1).is_free()) {
        place_code_point(pass.cell(t + 1));
        spacing = -1;
      } else {
        // The count runs past 8 from here on: this walk places no further code point.
        pass.record(BuildErrorCode::no_code_point_along_slowdown, t);
      }
    }
    if (pass.cell(t).marker == kSlowdownEnd) break;
  }
  return t;
}

// The first signal within 12 cells from the end board gets a code point just
// ahead of it. The end board lies beyond a start board at cell 1 or later, so
// both cells before the signal exist.
void mark_signal_after_end(Pass& pass, int32_t end) {
  const int32_t search_end = std::min(end + kSignalSearchCells, pass.last_cell());
  for (int32_t signal = end; signal <= search_end; ++signal) {
    if (pass.cell(signal).marker != kSignal) continue;
    if (pass.cell(signal - 1).is_free()) {
      place_code_point(pass.cell(signal - 1));
    } else if (pass.cell(signal - 2).is_free()) {
      place_code_point(pass.cell(signal - 2));
    } else {
      pass.record(BuildErrorCode::no_code_point_along_slowdown, end);
    }
    return;
  }
}

void mark_slowdown_start(Pass& pass, int32_t start) {
  for (const int32_t nearest : kStartGroups) {
    if (start > nearest + kGroupCells - 1) mark_group_before_start(pass, start, nearest);
  }
  const bool slow = pass.cell(start).value1 < kWalkSpeedLimit;
  // A fast slowdown gets no code points along it, yet the signal after it is
  // still looked for from its own end board, found the way the walk would find
  // it; never from wherever an earlier walk or scan happened to stop.
  const int32_t end = walk_to_end_board(pass, start, slow);
  mark_signal_after_end(pass, end);
}

}  // namespace

BuildError post_process(RouteModel& model) {
  Pass pass{model, {}};
  const int32_t last = pass.last_cell();
  for (int32_t c = 1; c <= last - 2; ++c) {
    const uint8_t marker = pass.cell(c).marker;
    if (marker == kSlowdownWarning) {
      mark_signals_before_warning(pass, c);
    } else if (marker == kSlowdownStart) {
      mark_slowdown_start(pass, c);
    }
  }
  return pass.error;
}

}  // namespace scenario
