#include "compiler/build_errors.h"

#include <array>

namespace scenario {
namespace {

struct ErrorEntry {
  BuildErrorCode code;
  std::string_view meaning;
  bool has_position;  // where on the route the failure lies is part of the record
};

constexpr std::array kErrors = {
    ErrorEntry{BuildErrorCode::none, "no error", false},
    ErrorEntry{BuildErrorCode::route_too_long, "route length above 1000000 m", false},
    ErrorEntry{BuildErrorCode::km_reference_not_multiple_of_50,
               "a kilometre reference position or value not a multiple of 50", false},
    ErrorEntry{BuildErrorCode::repetition_start_not_multiple_of_50, "a signal repetition value not a multiple of 50",
               false},
    ErrorEntry{BuildErrorCode::repetition_end_not_multiple_of_50, "a signal repetition value not a multiple of 50",
               false},
    ErrorEntry{BuildErrorCode::repetition_without_code_system, "signal repetition keyword names no code system", false},
    ErrorEntry{BuildErrorCode::sign_board_cell_taken, "sign board cell not free", true},
    ErrorEntry{BuildErrorCode::code_point_cell_taken, "code point record on a cell that is not free", true},
    ErrorEntry{BuildErrorCode::station_position_not_multiple_of_50, "station position not a multiple of 50", true},
    ErrorEntry{BuildErrorCode::station_length_not_multiple_of_100, "station length not a multiple of 100", true},
    ErrorEntry{BuildErrorCode::too_many_stations, "more stations than the table holds below the sign board texts",
               false},
    ErrorEntry{BuildErrorCode::no_code_point_before_signal, "no free cell for a derived code point", true},
    ErrorEntry{BuildErrorCode::no_code_point_before_slowdown, "no free cell for a derived code point", true},
    ErrorEntry{BuildErrorCode::no_code_point_along_slowdown, "no free cell for a derived code point", true},
    ErrorEntry{BuildErrorCode::beyond_cell_array, "a record position beyond the cell array", true},
    ErrorEntry{BuildErrorCode::signal_cell_taken, "signal cell not free", true},
    ErrorEntry{BuildErrorCode::warning_board_cell_taken, "slowdown warning cell not free", true},
    ErrorEntry{BuildErrorCode::start_board_cell_taken, "slowdown start cell not free", true},
    ErrorEntry{BuildErrorCode::end_board_cell_taken, "slowdown end cell not free", true},
    ErrorEntry{BuildErrorCode::orientation_board_cell_taken, "a slowdown orientation board cell not free", true},
    ErrorEntry{BuildErrorCode::speed_board_cell_taken, "speed-limit indicator board cell not free", true},
    ErrorEntry{BuildErrorCode::station_too_close, "station too close to the previous one", true},
    ErrorEntry{BuildErrorCode::stop_point_too_early, "station stop point at cell 1 or before", false},
    ErrorEntry{BuildErrorCode::read_failure, "run-time failure while reading a source file", false},
    ErrorEntry{BuildErrorCode::line_source_missing, "line source file missing", false},
    ErrorEntry{BuildErrorCode::no_general_section, "no \"[generale]\" in the line source file", false},
    ErrorEntry{BuildErrorCode::curve_without_class_or_plan_too_long,
               "curve keyword without a class digit, or the route plan too long", false},
    ErrorEntry{BuildErrorCode::stamp_slot_used, "the sources set a slot the compiler stamps", false},
    ErrorEntry{BuildErrorCode::identity_code_slot_used, "the sources set a slot of the identity codes", false},
};

const ErrorEntry* entry_of(int32_t number) {
  for (const ErrorEntry& entry : kErrors) {
    if (number_of(entry.code) == number) return &entry;
  }
  return nullptr;
}

}  // namespace

std::string_view build_error_meaning(int32_t number) {
  const ErrorEntry* entry = entry_of(number);
  return entry != nullptr ? entry->meaning : "unknown build error";
}

bool build_error_has_position(BuildErrorCode code) {
  const ErrorEntry* entry = entry_of(number_of(code));
  return entry != nullptr && entry->has_position;
}

std::string describe_build_error(const BuildError& error) {
  std::string line =
      "build error " + std::to_string(error.number()) + ": " + std::string(build_error_meaning(error.code));
  if (build_error_has_position(error.code)) line += ", at " + std::to_string(error.position) + " m";
  return line;
}

}  // namespace scenario
