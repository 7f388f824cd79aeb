#pragma once

// A readable summary of one cell field along the cell array, for comparing
// whole stretches of cells in one expectation.

#include <string>

#include "compiler/route_model.h"

namespace scenario::testing {

// Runs of equal values over cells [from, to], e.g. "100x9 102x989 0x3".
inline std::string cell_runs(const RouteModel& model, int from, int to, int (*field)(const Cell&)) {
  std::string out;
  int value = field(model.cells.at(static_cast<size_t>(from)));
  int count = 0;
  for (int k = from; k <= to; ++k) {
    const int v = field(model.cells.at(static_cast<size_t>(k)));
    if (v != value) {
      out += std::to_string(value) + "x" + std::to_string(count) + " ";
      value = v;
      count = 0;
    }
    ++count;
  }
  return out + std::to_string(value) + "x" + std::to_string(count);
}

}  // namespace scenario::testing
