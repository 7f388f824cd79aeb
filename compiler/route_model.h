#pragma once

// The in-memory form of one compiled scenario: 50 m cells, the 87-record
// train and station table and the optional per-metre route plan. Plain data
// holding the compiled result; the compile steps are free functions over it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/route_plan.h"

namespace scenario {

// What stands in a cell.
enum Marker : uint8_t {
  kNothing = 0,
  kSignal = 1,
  kSlowdownEnd = 2,
  kSlowdownStart = 3,
  kSlowdownWarning = 4,
  kOrientationBoard = 5,
  kSpeedBoard = 6,
  kStopPoint = 10,
  kMountainMarker = 11,
  kCodePoint = 12,
  kCodeOffPoint = 13,
  kSignBoard = 14,
};

// One 50 m stretch of track. Field order and widths are those of the
// compiled cell file.
struct Cell {
  uint8_t marker = kNothing;
  int16_t value1 = 0;
  int16_t value2 = 0;
  int16_t value3 = 0;
  int16_t value4 = 0;
  uint8_t signal_time = 0;
  uint8_t approach_code = 0;
  uint8_t mountain_type = 0;
  uint8_t speed_limit = 0;  // units of 5 km/h
  uint8_t gradient = 0;     // per mille plus 100
  uint8_t adhesion = 0;     // percent

  // A cell is free when it holds nothing or only a mountain section marker.
  bool is_free() const { return marker == kNothing || marker == kMountainMarker; }
};

// One record of the train and station table. `text` holds Windows-1252 bytes.
struct TableRecord {
  uint8_t kind = 0;
  int32_t start = 0;
  int32_t end = 0;
  int32_t position = 0;
  uint8_t flag = 0;
  std::string text;
  int16_t word1 = 0;
  int16_t word2 = 0;
  int16_t word3 = 0;
  int16_t word4 = 0;
  int16_t word5 = 0;
  uint8_t byte1 = 0;
  uint8_t byte2 = 0;
  uint8_t byte3 = 0;
  uint8_t byte4 = 0;
  int32_t time = 0;  // seconds since midnight

  void clear() { *this = TableRecord{}; }
};

inline constexpr int kTableRecords = 87;
inline constexpr int kSignFloorStart = 80;  // first record a sign board text takes
inline constexpr int kKmReferenceThree = 81;
inline constexpr int kKmReferenceTwo = 82;
inline constexpr int kKmReferenceOne = 83;
inline constexpr int kTrainRecord = 84;     // braked mass, route length, cars
inline constexpr int kScenarioRecord = 85;  // backgrounds, scenario name, stamps
inline constexpr int kTrainNumberRecord = 86;
inline constexpr int kMaxMountainSections = 80;
inline constexpr int32_t kMaxRouteLength = 1000000;
inline constexpr int32_t kPlanMetreLimit = 1000000;
inline constexpr int32_t kCellLength = 50;
inline constexpr int32_t kRunOut = 7000;  // the cells reach this far beyond the route's end

// U = nearest-even((L + 7000) / 50).
int32_t last_cell_index_for(int32_t route_length);

struct RouteModel {
  std::vector<Cell> cells;  // indices 0..U once the route length is known
  std::array<TableRecord, kTableRecords> table{};
  std::optional<RoutePlan> plan;  // metres 0..N, when the plan is compiled

  bool has_cells() const { return !cells.empty(); }
  // U, the last cell; -1 while there are no cells.
  int32_t last_cell_index() const { return static_cast<int32_t>(cells.size()) - 1; }

  // Creates cells 0..U, all fields 0, for route length L; replaces any earlier array.
  void create_cells(int32_t route_length);
  // Creates the plan for metres 0..N = L + 7000, all entries empty; replaces any earlier plan.
  void create_plan(int32_t route_length);
};

}  // namespace scenario
