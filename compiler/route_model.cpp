#include "compiler/route_model.h"

#include "compiler/arithmetic.h"

namespace scenario {

int32_t last_cell_index_for(int32_t route_length) {
  return static_cast<int32_t>(nearest_even((static_cast<double>(route_length) + kRunOut) / kCellLength));
}

void RouteModel::create_cells(int32_t route_length) {
  cells.assign(static_cast<size_t>(last_cell_index_for(route_length)) + 1, Cell{});
}

void RouteModel::create_plan(int32_t route_length) { plan.emplace(route_length + kRunOut); }

}  // namespace scenario
