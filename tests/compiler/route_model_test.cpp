#include "compiler/route_model.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(RouteModel, LastCellIndexRoundsHalvesToEven) {
  struct Case {
    int32_t route_length;
    int32_t last_cell;
  };
  // 25 and 75 land on .5 exactly: 140.5 -> 140 and 141.5 -> 142.
  for (const Case& c : {Case{43000, 1000}, Case{25, 140}, Case{75, 142}, Case{125, 142}, Case{0, 140}}) {
    EXPECT_EQ(last_cell_index_for(c.route_length), c.last_cell) << "L = " << c.route_length;
  }
}

TEST(RouteModel, CreatesCellsAndPlanForRouteLength) {
  RouteModel model;
  model.create_cells(43000);
  model.create_plan(43000);
  EXPECT_EQ(model.last_cell_index(), 1000);
  EXPECT_EQ(model.cells.size(), 1001u);
  EXPECT_EQ(model.plan->last_metre(), 50000);
  EXPECT_EQ(model.plan->filled_metres(), 0);
  EXPECT_EQ(model.plan->entry(50000, 1), PlanEntry{PlanEmpty{}});
}

TEST(RouteModel, FreeCellHoldsNothingOrAMountainMarker) {
  for (int code = 0; code <= 14; ++code) {
    Cell cell;
    cell.marker = static_cast<uint8_t>(code);
    EXPECT_EQ(cell.is_free(), code == kNothing || code == kMountainMarker) << "marker " << code;
  }
}

}  // namespace
}  // namespace scenario
