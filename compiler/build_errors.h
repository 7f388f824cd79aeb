#pragma once

// The build errors the compiler records, by name and number, with their
// meanings in one table; and the build error record that carries the one in
// force.

#include <cstdint>
#include <string>
#include <string_view>

#include "source/input_error.h"

namespace scenario {

// The numbers are the ones the simulator's authors know and the tools print.
enum class BuildErrorCode : int32_t {
  none = 0,
  route_too_long = 1,
  km_reference_not_multiple_of_50 = 2,
  repetition_start_not_multiple_of_50 = 3,
  repetition_end_not_multiple_of_50 = 4,
  repetition_without_code_system = 5,
  sign_board_cell_taken = 6,
  code_point_cell_taken = 7,
  station_position_not_multiple_of_50 = 8,
  station_length_not_multiple_of_100 = 9,
  too_many_stations = 10,
  no_code_point_before_signal = 11,
  no_code_point_before_slowdown = 12,
  no_code_point_along_slowdown = 13,
  beyond_cell_array = 15,
  signal_cell_taken = 16,
  warning_board_cell_taken = 17,
  start_board_cell_taken = 18,
  end_board_cell_taken = 19,
  orientation_board_cell_taken = 20,
  speed_board_cell_taken = 21,
  station_too_close = 22,
  stop_point_too_early = 24,
  read_failure = 25,
  line_source_missing = 101,
  no_general_section = 102,
  curve_without_class_or_plan_too_long = 103,
  // Reported at once in the fatal report box, never kept in the record.
  stamp_slot_used = 1250,
  identity_code_slot_used = 1251,
};

constexpr int32_t number_of(BuildErrorCode code) { return static_cast<int32_t>(code); }

// The meaning of a build error number; "unknown build error" for a number the
// compiler never records.
std::string_view build_error_meaning(int32_t number);
inline std::string_view build_error_meaning(BuildErrorCode code) { return build_error_meaning(number_of(code)); }

// True for the errors that record where on the route they lie; the others
// leave the error position as it was.
bool build_error_has_position(BuildErrorCode code);

// Which source a record stands in.
enum class SourceFile : uint8_t { none, line, train };

// The build error record. A later failure overwrites an earlier one; an error
// without a position of its own leaves the position as it was.
struct BuildError {
  BuildErrorCode code = BuildErrorCode::none;
  int32_t position = 0;  // metres along the route
  // The record that stored the error, when it came from a source.
  SourceFile source = SourceFile::none;
  SourcePlace place;
  // For a read failure: what could not be read and why.
  std::string detail;

  bool is_set() const { return code != BuildErrorCode::none; }
  int32_t number() const { return number_of(code); }
};

// One line for a person: "build error 15: a record position beyond the cell
// array, at 43000 m"; errors without a position of their own give none.
std::string describe_build_error(const BuildError& error);

}  // namespace scenario
