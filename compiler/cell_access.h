#pragma once

// Cell access for the records. A record that would put a marker or a profile
// value before the start of the route or past the last cell is refused whole,
// never written in part outside the array.

#include <cstdint>
#include <string>

#include "compiler/route_model.h"
#include "source/input_error.h"

namespace scenario {

inline bool in_cell_array(const RouteModel& model, int64_t index) {
  return index >= 0 && index < static_cast<int64_t>(model.cells.size());
}

// The cell of that index; a record off the route is malformed input: throws InputError.
inline Cell& cell_at(RouteModel& model, int64_t index) {
  if (!in_cell_array(model, index)) {
    throw InputError("cell " + std::to_string(index) + " lies outside the cells 0 to " +
                     std::to_string(model.last_cell_index()));
  }
  return model.cells[static_cast<size_t>(index)];
}

}  // namespace scenario
