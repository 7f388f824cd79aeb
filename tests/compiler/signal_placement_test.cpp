#include "compiler/signal_placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "compiler/arithmetic.h"
#include "compiler/cell_access.h"

namespace scenario {
namespace {

// The built-in route: cells 0 to 1000.
RouteModel route(int32_t route_length = 43000) {
  RouteModel model;
  model.create_cells(route_length);
  return model;
}

bool same_cell(const Cell& a, const Cell& b) {
  return a.marker == b.marker && a.value1 == b.value1 && a.value2 == b.value2 && a.value3 == b.value3 &&
         a.value4 == b.value4 && a.signal_time == b.signal_time && a.approach_code == b.approach_code &&
         a.mountain_type == b.mountain_type && a.speed_limit == b.speed_limit && a.gradient == b.gradient &&
         a.adhesion == b.adhesion;
}

// The cells whose contents differ between two models of one route.
std::vector<int> changed_cells(const RouteModel& before, const RouteModel& after) {
  std::vector<int> changed;
  for (size_t i = 0; i < after.cells.size(); ++i) {
    if (!same_cell(before.cells[i], after.cells[i])) changed.push_back(static_cast<int>(i));
  }
  return changed;
}

BuildErrorCode place(RouteModel& model, const SignalRecord& r) { return place_signal(model, r); }

TEST(PlaceSignal, BuiltInSignals) {
  struct Case {
    SignalRecord record;
    int cell;
    std::array<int16_t, 4> values;  // value 1 to value 4
    uint8_t signal_time;
    std::array<uint8_t, 4> approach_codes;  // in cells cell-2, cell-4, cell-6, cell-8
  };
  const Case cases[] = {
      {{950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}, 20, {40, 10, 0, 3}, 0, {31, 32, 33, 34}},
      {{32300, 2, 4, 1, 0, 0, 0, 0, 0, 0, 115}, 647, {40, 10, 0, 6}, 115, {61, 62, 63, 64}},
      {{40950, 2, 2, 3, 0, 0, 2, 2, 1, 0, 0}, 820, {22, 31, 0, 8}, 0, {81, 82, 83, 84}},
  };
  for (const Case& c : cases) {
    RouteModel model = route();
    const RouteModel before = model;
    SCOPED_TRACE(c.record.position_m);
    EXPECT_EQ(place(model, c.record), BuildErrorCode::none);
    const Cell& signal = model.cells[static_cast<size_t>(c.cell)];
    EXPECT_EQ(signal.marker, kSignal);
    EXPECT_EQ((std::array<int16_t, 4>{signal.value1, signal.value2, signal.value3, signal.value4}), c.values);
    EXPECT_EQ(signal.signal_time, c.signal_time);
    for (size_t k = 0; k < 4; ++k) {
      EXPECT_EQ(model.cells[static_cast<size_t>(c.cell) - 2 * (k + 1)].approach_code, c.approach_codes[k]);
    }
    EXPECT_EQ(changed_cells(before, model), (std::vector<int>{c.cell - 8, c.cell - 6, c.cell - 4, c.cell - 2, c.cell}));
  }
}

TEST(PlaceSignal, SignalTimeOnlyForTypeTwoAndRaisedBelow101) {
  struct Case {
    int32_t sx;
    int32_t tempo;
    uint8_t signal_time;
  };
  const Case cases[] = {
      {2, 50, 101},  {2, 1, 101},  {2, 100, 101}, {2, 101, 101}, {2, 0, 0},
      {2, 255, 255}, {2, 300, 44}, {2, -5, 251},  {1, 50, 0},    {1, 115, 0},
  };
  for (const Case& c : cases) {
    RouteModel model = route();
    place_signal(model, {5000, c.sx, 0, 0, 0, 0, 0, 0, 0, 0, c.tempo});
    EXPECT_EQ(model.cells[101].signal_time, c.signal_time) << "sx " << c.sx << " tempo " << c.tempo;
  }
}

TEST(PlaceSignal, CombinedValuesKeepTheirLowBits) {
  RouteModel model = route();
  // 3277 * 10 = 32770 and 7000 * 10 + 5 = 70005 overflow 16 bits; 9 * 3 = 27 gives codes 271 to 274.
  place_signal(model, {5000, 9, 7000, -3300, 0, 3277, 0, 5, -1, 0, 0});
  const Cell& signal = model.cells[101];
  EXPECT_EQ(signal.value4, static_cast<int16_t>(32770 + 27 - 65536));
  EXPECT_EQ(signal.value1, 70005 - 65536);
  EXPECT_EQ(signal.value2, -33001 + 65536);
  EXPECT_EQ(model.cells[99].approach_code, 271 - 256);
  EXPECT_EQ(model.cells[93].approach_code, 274 - 256);
}

TEST(PlaceSignal, TakesOnlyAFreeCellButWritesApproachCodesOverAnything) {
  RouteModel model = route();
  model.cells[20] = Cell{kMountainMarker, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0};
  model.cells[16].marker = kSlowdownStart;
  EXPECT_EQ(place_signal(model, {950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}), BuildErrorCode::none);
  EXPECT_EQ(model.cells[20].marker, kSignal);
  EXPECT_EQ(model.cells[20].mountain_type, 12);
  EXPECT_EQ(model.cells[16].marker, kSlowdownStart);
  EXPECT_EQ(model.cells[16].approach_code, 32);

  for (Marker taken : {kSignal, kSlowdownEnd, kStopPoint, kCodePoint, kSignBoard}) {
    RouteModel occupied = route();
    occupied.cells[20].marker = taken;
    const RouteModel before = occupied;
    EXPECT_EQ(place_signal(occupied, {950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}), BuildErrorCode::signal_cell_taken)
        << int{taken};
    EXPECT_TRUE(changed_cells(before, occupied).empty()) << int{taken};
  }
}

TEST(PlaceSignal, NearTheRouteStartOnlyTheApproachCodesInsideTheRouteAreWritten) {
  struct Case {
    int32_t position_m;
    int cell;
    std::vector<int> approach_cells;
  };
  const Case cases[] = {
      {0, 1, {}}, {50, 2, {0}}, {200, 5, {3, 1}}, {300, 7, {5, 3, 1}}, {350, 8, {6, 4, 2, 0}},
  };
  for (const Case& c : cases) {
    RouteModel model = route();
    const RouteModel before = model;
    place_signal(model, {c.position_m, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0});
    SCOPED_TRACE(c.position_m);
    EXPECT_EQ(model.cells[static_cast<size_t>(c.cell)].marker, kSignal);
    std::vector<int> expected = c.approach_cells;
    expected.push_back(c.cell);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(changed_cells(before, model), expected);
    for (size_t k = 0; k < c.approach_cells.size(); ++k) {
      EXPECT_EQ(model.cells[static_cast<size_t>(c.approach_cells[k])].approach_code, static_cast<uint8_t>(31 + k));
    }
  }
}

TEST(PlaceSignal, ASignalCellOutsideTheArrayIsRefused) {
  for (int32_t position_m : {50000, 60000, -100}) {
    RouteModel model = route();
    const RouteModel before = model;
    EXPECT_THROW(place_signal(model, {position_m, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0}), InputError) << position_m;
    EXPECT_TRUE(changed_cells(before, model).empty());
  }
  RouteModel model = route();
  place_signal(model, {49950, 1, 4, 1, 0, 0, 0, 0, 0, 0, 0});  // cell 1000, the last
  EXPECT_EQ(model.cells[1000].marker, kSignal);
}

BuildErrorCode place(RouteModel& model, const SlowdownRecord& r) { return place_slowdown(model, r); }

struct Board {
  int cell;
  uint8_t marker;
  int16_t value1, value2, value3;
};

void expect_boards(const RouteModel& before, const RouteModel& after, const std::vector<Board>& boards) {
  std::vector<int> cells;
  for (const Board& b : boards) {
    const Cell& cell = after.cells[static_cast<size_t>(b.cell)];
    EXPECT_EQ(cell.marker, b.marker) << "cell " << b.cell;
    EXPECT_EQ(cell.value1, b.value1) << "cell " << b.cell;
    EXPECT_EQ(cell.value2, b.value2) << "cell " << b.cell;
    EXPECT_EQ(cell.value3, b.value3) << "cell " << b.cell;
    cells.push_back(b.cell);
  }
  std::sort(cells.begin(), cells.end());
  EXPECT_EQ(changed_cells(before, after), cells);
}

TEST(PlaceSlowdown, Boards) {
  struct Case {
    const char* what;
    SlowdownRecord record;
    std::vector<Board> boards;
  };
  const Case cases[] = {
      {"built-in slowdown",
       {22050, 30, 150, 1, 0, 0},
       {{418, kSlowdownWarning, 30, 0, 0}, {442, kSlowdownStart, 30, 0, 1}, {445, kSlowdownEnd, 30, 0, 1}}},
      {"orientation boards",
       {22050, 30, 150, 1, 1, 0},
       {{414, kOrientationBoard, 4, 0, 0},
        {415, kOrientationBoard, 3, 0, 0},
        {416, kOrientationBoard, 2, 0, 0},
        {417, kOrientationBoard, 1, 0, 0},
        {418, kSlowdownWarning, 30, 0, 0},
        {442, kSlowdownStart, 30, 0, 1},
        {445, kSlowdownEnd, 30, 0, 1}}},
      {"second value",
       {22050, 30, 150, 0, 1, 7},
       {{414, kOrientationBoard, 4, 4, 0},
        {415, kOrientationBoard, 3, 3, 0},
        {416, kOrientationBoard, 2, 2, 0},
        {417, kOrientationBoard, 1, 1, 0},
        {418, kSlowdownWarning, 30, 7, 0},
        {442, kSlowdownStart, 30, 7, 0},
        {445, kSlowdownEnd, 30, 7, 0}}},
      {"start at 1500: no warning, no orientation boards",
       {1500, 60, 500, 2, 1, 0},
       {{31, kSlowdownStart, 60, 0, 2}, {41, kSlowdownEnd, 60, 0, 2}}},
      {"start at 1550: warning and orientation boards",
       {1550, 60, 500, 2, 1, 0},
       {{4, kOrientationBoard, 4, 0, 0},
        {5, kOrientationBoard, 3, 0, 0},
        {6, kOrientationBoard, 2, 0, 0},
        {7, kOrientationBoard, 1, 0, 0},
        {8, kSlowdownWarning, 60, 0, 0},
        {32, kSlowdownStart, 60, 0, 2},
        {42, kSlowdownEnd, 60, 0, 2}}},
      {"shorter than half a cell: the start board wins",
       {22050, 30, 20, 1, 0, 0},
       {{418, kSlowdownWarning, 30, 0, 0}, {442, kSlowdownStart, 30, 0, 1}}},
      {"end board in the last cell",
       {49850, 30, 100, 0, 0, 0},
       {{974, kSlowdownWarning, 30, 0, 0}, {998, kSlowdownStart, 30, 0, 0}, {1000, kSlowdownEnd, 30, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RouteModel model = route();
    const RouteModel before = model;
    EXPECT_EQ(place(model, c.record), BuildErrorCode::none);
    expect_boards(before, model, c.boards);
  }
}

TEST(PlaceSlowdown, MountainMarkersGiveWay) {
  RouteModel model = route();
  for (int cell : {414, 418, 442, 445}) model.cells[static_cast<size_t>(cell)].marker = kMountainMarker;
  EXPECT_EQ(place(model, SlowdownRecord{22050, 30, 150, 1, 1, 0}), BuildErrorCode::none);
  EXPECT_EQ(model.cells[414].marker, kOrientationBoard);
  EXPECT_EQ(model.cells[418].marker, kSlowdownWarning);
  EXPECT_EQ(model.cells[442].marker, kSlowdownStart);
  EXPECT_EQ(model.cells[445].marker, kSlowdownEnd);
}

TEST(PlaceSlowdown, RefusesTakenCells) {
  struct Case {
    int taken_cell;
    BuildErrorCode error;
    std::vector<Board> boards;  // what stays written
  };
  const std::vector<Board> main_boards = {
      {418, kSlowdownWarning, 30, 0, 0}, {442, kSlowdownStart, 30, 0, 1}, {445, kSlowdownEnd, 30, 0, 1}};
  const Case cases[] = {
      {418, BuildErrorCode::warning_board_cell_taken, {}},
      {442, BuildErrorCode::start_board_cell_taken, {}},
      {445, BuildErrorCode::end_board_cell_taken, {}},
      {417, BuildErrorCode::orientation_board_cell_taken, main_boards},
      {414, BuildErrorCode::orientation_board_cell_taken, main_boards},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.taken_cell);
    RouteModel model = route();
    model.cells[static_cast<size_t>(c.taken_cell)] = Cell{kSignal, 40, 10, 0, 3, 0, 0, 0, 0, 0, 0};
    const RouteModel before = model;
    EXPECT_EQ(place(model, SlowdownRecord{22050, 30, 150, 1, 1, 0}), c.error);
    expect_boards(before, model, c.boards);
  }
}

TEST(PlaceSlowdown, CellsOutsideTheArrayRefuseTheRecordBeforeAnyWrite) {
  const SlowdownRecord refused[] = {
      {49850, 30, 150, 0, 1, 0},  // end board in cell 1001
      {49800, 30, 100000, 0, 0, 0},
      {22050, 30, -23000, 0, 0, 0},  // end board before cell 0
      {-100, 30, 150, 0, 0, 0},      // start board before cell 0
  };
  for (const SlowdownRecord& r : refused) {
    RouteModel model = route();
    const RouteModel before = model;
    EXPECT_THROW(place(model, r), InputError) << r.start_m << " + " << r.length_m;
    EXPECT_TRUE(changed_cells(before, model).empty());
  }

  // A record refused for a taken cell before it reaches the end board is
  // processed as written.
  RouteModel model = route();
  model.cells[974].marker = kSignal;
  EXPECT_EQ(place(model, SlowdownRecord{49850, 30, 150, 0, 0, 0}), BuildErrorCode::warning_board_cell_taken);
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(SlowdownPlacement, CopiedValuesThatDoNotFitSixteenBitsAreRefusedBeforeAnyWrite) {
  struct Case {
    int32_t speed, flag, second_value;
  };
  for (const Case& c : {Case{65566, 1, 0}, Case{30, 70000, 0}, Case{30, 1, -32769}}) {
    RouteModel model;
    model.create_cells(43000);
    EXPECT_THROW(place_slowdown(model, {22050, c.speed, 150, c.flag, 0, c.second_value}), InputError);
    for (int cell : {418, 442, 445}) EXPECT_EQ(model.cells[static_cast<size_t>(cell)].marker, kNothing);
  }
  RouteModel model;
  model.create_cells(43000);
  place_slowdown(model, {22050, 32767, 150, -32768, 0, 0});
  EXPECT_EQ(model.cells[442].value1, 32767);
  EXPECT_EQ(model.cells[442].value3, -32768);
}

}  // namespace
}  // namespace scenario
