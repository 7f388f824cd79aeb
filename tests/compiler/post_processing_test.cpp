#include "compiler/post_processing.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace scenario {
namespace {

struct Board {
  int32_t cell;
  Marker marker;
  int16_t value1 = 0;
};

// Cells 0 to count - 1, empty but for the given boards; the array is exactly
// that long, so a step past its last cell shows up under the sanitizers.
RouteModel stretch(int32_t count, const std::vector<Board>& boards) {
  RouteModel model;
  model.cells.resize(static_cast<size_t>(count));
  for (const Board& b : boards) {
    Cell& cell = model.cells.at(static_cast<size_t>(b.cell));
    cell.marker = b.marker;
    cell.value1 = b.value1;
  }
  return model;
}

// Every code point in the array: cell -> code value.
std::map<int32_t, int16_t> code_points(const RouteModel& model) {
  std::map<int32_t, int16_t> points;
  for (size_t i = 0; i < model.cells.size(); ++i) {
    if (model.cells[i].marker == kCodePoint) points[static_cast<int32_t>(i)] = model.cells[i].value1;
  }
  return points;
}

// Code points of value 180 at the given cells.
std::map<int32_t, int16_t> derived_at(const std::vector<int32_t>& cells) {
  std::map<int32_t, int16_t> points;
  for (int32_t c : cells) points[c] = 180;
  return points;
}

struct Processed {
  RouteModel model;
  BuildError error;
};

Processed processed(RouteModel model) {
  const BuildError error = post_process(model);
  return {std::move(model), error};
}

Processed processed(int32_t count, const std::vector<Board>& boards) { return processed(stretch(count, boards)); }

// The code points the array ends with and the build error (number 0: none, at position 0).
void expect_outcome(const Processed& outcome, const std::map<int32_t, int16_t>& points, int32_t error_number,
                    int32_t error_position, const std::string& what) {
  EXPECT_EQ(code_points(outcome.model), points) << what;
  EXPECT_EQ(outcome.error.number(), error_number) << what;
  EXPECT_EQ(outcome.error.position, error_number == 0 ? 0 : error_position) << what;
}

TEST(PostProcessing, StartBoardGroupsNeedRoomBeforeTheBoard) {
  struct Case {
    int32_t start;
    std::vector<int32_t> points;
  };
  // A fast slowdown, so that only the three groups before the board place anything.
  const Case cases[] = {
      {7, {}}, {8, {3}}, {13, {8}}, {14, {3, 9}}, {20, {9, 15}}, {21, {3, 10, 16}},
  };
  for (const Case& c : cases) {
    const Processed model = processed(40, {{c.start, kSlowdownStart, 110}, {c.start + 2, kSlowdownEnd}});
    expect_outcome(model, derived_at(c.points), 0, 0, "start board at " + std::to_string(c.start));
  }
}

TEST(PostProcessing, StartBoardGroupFallsBackToFartherCells) {
  struct Case {
    const char* what;
    std::vector<Board> taken;
    int32_t used;  // the cell of the first group that receives the code point
    std::map<int32_t, int16_t> points;
  };
  const Case cases[] = {
      {"all free", {}, 25, {{25, 180}, {19, 180}, {12, 180}}},
      {"nearest holds a signal", {{25, kSignal}}, 24, {{24, 180}, {19, 180}, {12, 180}}},
      {"an earlier code point is not free",
       {{25, kSignal}, {24, kCodePoint, 75}},
       23,
       {{24, 75}, {23, 180}, {19, 180}, {12, 180}}},
      {"a mountain marker is free", {{25, kMountainMarker}}, 25, {{25, 180}, {19, 180}, {12, 180}}},
  };
  for (const Case& c : cases) {
    std::vector<Board> boards = c.taken;
    boards.push_back({30, kSlowdownStart, 110});
    boards.push_back({32, kSlowdownEnd});
    RouteModel model = stretch(40, boards);
    for (int32_t i = 23; i <= 25; ++i) model.cells[static_cast<size_t>(i)].mountain_type = 12;
    const Processed outcome = processed(std::move(model));
    expect_outcome(outcome, c.points, 0, 0, c.what);
    // A code point leaves the cell's other fields alone.
    EXPECT_EQ(outcome.model.cells[static_cast<size_t>(c.used)].mountain_type, 12) << c.what;
  }
}

TEST(PostProcessing, FullStartBoardGroupIsError12AndTheOtherGroupsStillRun) {
  struct Case {
    int32_t nearest;  // the group whose three cells are all taken
    std::vector<int32_t> points;
  };
  const Case cases[] = {{5, {12, 19}}, {11, {12, 25}}, {18, {19, 25}}};
  for (const Case& c : cases) {
    const int32_t start = 30;
    std::vector<Board> boards = {{start, kSlowdownStart, 110}, {start + 2, kSlowdownEnd}};
    for (int32_t back = c.nearest; back < c.nearest + 3; ++back) boards.push_back({start - back, kSpeedBoard});
    expect_outcome(processed(40, boards), derived_at(c.points), 12, 1500, "group from " + std::to_string(c.nearest));
  }
}

TEST(PostProcessing, WalkAlongASlowSlowdownKeepsEightCellsFromTheCellUsed) {
  struct Case {
    const char* what;
    std::vector<int32_t> taken;   // offsets from the start board
    std::vector<int32_t> points;  // offsets from the start board
    int32_t error;
  };
  const Case cases[] = {
      {"all free", {}, {8, 16}, 0},
      {"8th taken, 7th free", {8}, {7, 15}, 0},
      {"8th and 7th taken, 9th free", {7, 8}, {9, 17}, 0},
      {"7th to 9th taken", {7, 8, 9}, {}, 13},
  };
  // Start board at cell 7: too near the route's start for the groups before it.
  const int32_t start = 7;
  for (const Case& c : cases) {
    std::vector<Board> boards = {{start, kSlowdownStart, 30}, {start + 20, kSlowdownEnd}};
    for (int32_t offset : c.taken) boards.push_back({start + offset, kSpeedBoard});
    std::vector<int32_t> cells;
    for (int32_t offset : c.points) cells.push_back(start + offset);
    expect_outcome(processed(60, boards), derived_at(cells), c.error, (start + 8) * 50, c.what);
  }
}

TEST(PostProcessing, OnlySlowdownsBelow110GetAWalk) {
  struct Case {
    int16_t speed;
    std::vector<int32_t> points;
  };
  for (const Case& c : {Case{30, {15}}, Case{109, {15}}, Case{110, {}}, Case{150, {}}}) {
    const Processed model = processed(40, {{7, kSlowdownStart, c.speed}, {19, kSlowdownEnd}});
    expect_outcome(model, derived_at(c.points), 0, 0, "speed " + std::to_string(c.speed));
  }
}

TEST(PostProcessing, SignalAfterTheEndBoardGetsACodePointBeforeIt) {
  struct Case {
    const char* what;
    int16_t speed;
    std::vector<Board> extra;  // besides the start board at 7 and the end board at 11
    std::vector<int32_t> points;
    int32_t error;
  };
  const Case cases[] = {
      {"signal 3 after the end", 30, {{14, kSignal}}, {13}, 0},
      {"the cell before it taken", 30, {{14, kSignal}, {13, kSpeedBoard}}, {12}, 0},
      {"both cells before it taken", 30, {{14, kSignal}, {13, kSpeedBoard}, {12, kSpeedBoard}}, {}, 13},
      {"12 cells after the end", 30, {{23, kSignal}}, {22}, 0},
      {"13 cells after the end", 30, {{24, kSignal}}, {}, 0},
      {"only the first signal", 30, {{14, kSignal}, {17, kSignal}}, {13}, 0},
      {"fast slowdown, signal 3 after the end", 110, {{14, kSignal}}, {13}, 0},
      {"fast slowdown, signal inside it", 110, {{9, kSignal}}, {}, 0},
  };
  for (const Case& c : cases) {
    std::vector<Board> boards = c.extra;
    boards.push_back({7, kSlowdownStart, c.speed});
    boards.push_back({11, kSlowdownEnd});
    expect_outcome(processed(40, boards), derived_at(c.points), c.error, 11 * 50, c.what);
  }
}

TEST(PostProcessing, FastSlowdownSearchesAfterItsOwnEndBoard) {
  // The slow slowdown before it ends at 11 and marks the signal at 16; the fast
  // one's search must start at its own end board 40, not where that walk stopped.
  const Processed model = processed(60, {{7, kSlowdownStart, 30},
                                         {11, kSlowdownEnd},
                                         {16, kSignal},
                                         {30, kSlowdownStart, 120},
                                         {40, kSlowdownEnd},
                                         {43, kSignal}});
  expect_outcome(model, derived_at({12, 15, 19, 25, 42}), 0, 0, "two slowdowns");
}

TEST(PostProcessing, SignalsBeforeAWarningBoard) {
  struct Case {
    const char* what;
    int32_t warning;
    std::vector<Board> boards;
    std::map<int32_t, int16_t> points;
    int32_t error_cell;  // 0: no error
  };
  const Case cases[] = {
      {"signals 4 and 9 before", 30, {{26, kSignal}, {21, kSignal}}, {{25, 180}, {20, 180}}, 0},
      {"nearer a code point, farther free", 30, {{26, kSignal}, {25, kCodePoint, 75}}, {{25, 75}, {24, 180}}, 0},
      {"nearer code point 75 keeps it", 30, {{26, kSignal}, {25, kCodePoint, 75}, {24, kSpeedBoard}}, {{25, 75}}, 0},
      {"nearer code point 250 drops to 180",
       30,
       {{26, kSignal}, {25, kCodePoint, 250}, {24, kSpeedBoard}},
       {{25, 180}},
       0},
      {"farther code point 75 keeps it", 30, {{26, kSignal}, {25, kSpeedBoard}, {24, kCodePoint, 75}}, {{24, 75}}, 0},
      {"farther code point 250 drops to 180",
       30,
       {{26, kSignal}, {25, kSpeedBoard}, {24, kCodePoint, 250}},
       {{24, 180}},
       0},
      {"nearer taken, farther free", 30, {{26, kSignal}, {25, kStopPoint}}, {{24, 180}}, 0},
      {"both taken by other boards", 30, {{26, kSignal}, {25, kSpeedBoard}, {24, kStopPoint}}, {}, 26},
      {"signal 20 before", 30, {{10, kSignal}}, {{9, 180}}, 0},
      {"signal 21 before", 30, {{9, kSignal}}, {}, 0},
      {"signal at cell 3", 10, {{3, kSignal}}, {{2, 180}}, 0},
      {"signal at cell 2 is not scanned", 10, {{2, kSignal}}, {}, 0},
  };
  for (const Case& c : cases) {
    std::vector<Board> boards = c.boards;
    boards.push_back({c.warning, kSlowdownWarning});
    expect_outcome(processed(40, boards), c.points, c.error_cell == 0 ? 0 : 11, c.error_cell * 50, c.what);
  }
}

TEST(PostProcessing, WalksAndSearchesStopAtTheLastCell) {
  struct Case {
    const char* what;
    std::vector<Board> boards;
    std::vector<int32_t> points;
    int32_t error;
  };
  // Cells 0 to 29; no slowdown here has an end board.
  const Case cases[] = {
      {"walk places up to the last cell", {{13, kSlowdownStart, 30}}, {8, 21, 29}, 0},
      {"8th cell is the last and taken", {{13, kSlowdownStart, 30}, {28, kSpeedBoard}, {29, kSpeedBoard}}, {8, 21}, 13},
      {"fast slowdown finds a signal in the last cell", {{13, kSlowdownStart, 110}, {29, kSignal}}, {8, 28}, 0},
      {"warning board in the second-last cell", {{25, kSignal}, {28, kSlowdownWarning}}, {}, 0},
      {"start board in the second-last cell", {{28, kSlowdownStart, 30}}, {}, 0},
      {"warning board in the third-last cell", {{25, kSignal}, {27, kSlowdownWarning}}, {24}, 0},
  };
  for (const Case& c : cases) {
    expect_outcome(processed(30, c.boards), derived_at(c.points), c.error, 29 * 50, c.what);
  }
}

TEST(PostProcessing, EmptyCellArrayIsLeftAlone) {
  RouteModel model;
  EXPECT_FALSE(post_process(model).is_set());
  EXPECT_TRUE(model.cells.empty());
}

}  // namespace
}  // namespace scenario
