#pragma once

// What decoded cells, records and plan entries mean to an author: marker
// names, the values that boards and signals pack into a cell, the roles of
// the table records, kilometre readings, station times, the height profile,
// the slowdowns and the plan's shape. Pure functions over the decoded files.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiled_decoder.h"
#include "compiler/route_model.h"

namespace scenario {

// "signal", "speed board", "slowdown start board"...; "nothing" for 0 and
// "unknown marker" for a code the compiler never places.
std::string_view marker_name(uint8_t marker);

inline int32_t speed_limit_kmh(const Cell& cell) { return cell.speed_limit * 5; }
inline int32_t gradient_per_mille(const Cell& cell) { return cell.gradient - 100; }

// A speed board packs its left (s) and right (d) sets: each of values 1 to 3
// holds the left speed / 5 in the hundreds and the right speed / 5 in the last
// two digits, value 4 the left stripes in the tens and the right in the units.
struct SpeedSet {
  std::array<int32_t, 3> speeds_kmh{};
  int32_t stripes = 0;

  bool shown() const { return speeds_kmh != std::array<int32_t, 3>{} || stripes != 0; }
};
struct SpeedBoard {
  SpeedSet left;
  SpeedSet right;
};
SpeedBoard speed_board_of(const Cell& cell);

// A signal packs its record pairwise: values 1 to 3 hold left value × 10 +
// right value, value 4 the tens digit × 10 + left type × 3 + right type.
struct SignalCodes {
  int32_t tens = 0;
  int32_t left_type = 0;
  int32_t right_type = 0;
  std::array<int32_t, 3> left_values{};
  std::array<int32_t, 3> right_values{};
  int32_t time = 0;

  int32_t combined_type() const { return left_type * 3 + right_type; }
};
SignalCodes signal_codes_of(const Cell& cell);

// "approach 2 of 4 before a type-3 signal"; code 8k stands before a station
// stop and before a type-8 signal alike. Empty for 0.
std::string describe_approach(uint8_t code);

// Where the source record of a marker lies: boards and signals stand in the
// cell after the one holding their position, the other markers in their own.
int32_t marker_source_position_m(int32_t cell_index, uint8_t marker);

// What the table records are used for.
enum class RecordRole { cleared, station, board_text, km_reference, train, scenario, train_number, other };
std::string_view role_name(RecordRole role);

// Stations from record 1 up and board texts from record 80 down, as the
// readers fill them; 81 to 86 by their fixed roles.
std::array<RecordRole, kTableRecords> record_roles(const CompiledTable& table);

bool is_cleared(const TableRecord& record);

// The length the station row stated, from the area the compiler derived from it.
int32_t station_length_m(const TableRecord& station);

// "13:10:00" for seconds since midnight.
std::string clock_text(int64_t seconds);

// One kilometre reference as the line source states it: from a route
// position on, readings grow or fall with the route position.
struct KmReference {
  int record = 0;
  int32_t from_m = 0;
  int32_t value_m = 0;  // as written in the source: the compiler adds 100 to a falling one's
  bool falling = false;

  double reading_at(double position_m) const { return falling ? value_m - position_m : value_m + position_m; }
};
// The references in use, in route order.
std::vector<KmReference> km_references(const CompiledTable& table);
// The reading at a route position, from the last reference at or before it.
std::optional<double> km_reading_m(std::span<const KmReference> references, double position_m);
// "137+350" for 137350 m.
std::string km_text(int64_t metres);

// The fields of a cell and of a table record by name, in file order.
struct CellField {
  std::string_view name;
  int32_t (*get)(const Cell&);
  // The raw value as an author reads it: "80 km/h", "-12 ‰".
  std::string (*show)(int32_t raw);
};
std::span<const CellField> cell_fields();

struct RecordField {
  std::string_view name;
  int32_t (*get)(const TableRecord&);
};
// The numeric fields; the text lies between flag and word 1.
std::span<const RecordField> record_number_fields();
// The field's name in a record of that role ("stop" for byte 2 of a station),
// and a raw value as shown there ("13:10:00" for a station's time).
std::string_view record_field_name(RecordRole role, std::string_view field);
std::string show_record_field(RecordRole role, std::string_view field, int32_t raw);

// What stands in a cell, by name, with its values decoded: "speed board: left
// 60/80/80 km/h, stripes 0". The table (when at hand) names stations and board
// texts; cell 1 carries the compiler's stamps.
std::string describe_marker(int32_t cell_index, const Cell& cell, const CompiledTable* table);

// The stamps and identity codes the compiler writes, against what they must be.
struct MarkCheck {
  std::string what;
  int64_t found = 0;
  int64_t expected = 0;

  bool ok() const { return found == expected; }
};
std::vector<MarkCheck> check_marks(const DecodedScenario& scenario);

// The route length: record 84, or from the cells or the plan without the table.
std::optional<int32_t> route_length_m(const DecodedScenario& scenario);

// Height at the start of every cell and one past the last, in metres above
// the start, integrated from the cells' gradients.
std::vector<double> heights_m(std::span<const Cell> cells);

// A slowdown from its start board to its end board (the same cell for one
// shorter than a cell), with its speed and its warning board if placed.
struct SlowdownExtent {
  int32_t start_cell = 0;
  int32_t end_cell = 0;
  int32_t speed_kmh = 0;
  std::optional<int32_t> warning_cell;
};
std::vector<SlowdownExtent> slowdowns_of(std::span<const Cell> cells);

// The plan's shape: where the track lies and how much it turns.
struct PlanSummary {
  int32_t last_metre = 0;
  int32_t last_point_metre = -1;  // the last metre with both coordinates finite numbers
  int32_t point_count = 0;        // metres with both coordinates finite numbers
  size_t empty_entries = 0;
  size_t integer_entries = 0;
  size_t number_entries = 0;
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  double end_x = 0, end_y = 0;
  double track_length_m = 0;  // along the points, step by step
  double total_turn_rad = 0;  // every change of direction counted
  double net_turn_rad = 0;    // right turns positive
};
PlanSummary summarize_plan(const DecodedPlan& plan);

}  // namespace scenario
