#include "compiler/build_errors.h"

namespace scenario {

std::string_view build_error_meaning(int32_t number) {
  switch (number) {
    case 0:
      return "no error";
    case 1:
      return "route length above 1000000 m";
    case 2:
      return "a kilometre reference position or value not a multiple of 50";
    case 3:
    case 4:
      return "a signal repetition value not a multiple of 50";
    case 5:
      return "signal repetition keyword names no code system";
    case 6:
      return "sign board cell not free";
    case 7:
      return "code point record on a cell that is not free";
    case 8:
      return "station position not a multiple of 50";
    case 9:
      return "station length not a multiple of 100";
    case 10:
      return "more stations than the table holds below the sign board texts";
    case 11:
    case 12:
    case 13:
      return "no free cell for a derived code point";
    case 15:
      return "a record position beyond the cell array";
    case 16:
      return "signal cell not free";
    case 17:
      return "slowdown warning cell not free";
    case 18:
      return "slowdown start cell not free";
    case 19:
      return "slowdown end cell not free";
    case 20:
      return "a slowdown orientation board cell not free";
    case 21:
      return "speed-limit indicator board cell not free";
    case 22:
      return "station too close to the previous one";
    case 24:
      return "station stop point at cell 1 or before";
    case 25:
      return "run-time failure while reading a source file";
    case 101:
      return "line source file missing";
    case 102:
      return "no \"[generale]\" in the line source file";
    case 103:
      return "curve keyword without a class digit, or the route plan too long";
    default:
      return "unknown build error";
  }
}

bool build_error_has_position(int32_t number) {
  switch (number) {
    case 6:
    case 7:
    case 8:
    case 9:
    case 11:
    case 12:
    case 13:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
      return true;
    default:
      return false;
  }
}

std::string describe_build_error(const BuildError& error) {
  std::string line =
      "build error " + std::to_string(error.number) + ": " + std::string(build_error_meaning(error.number));
  if (build_error_has_position(error.number)) line += ", at " + std::to_string(error.position) + " m";
  return line;
}

}  // namespace scenario
