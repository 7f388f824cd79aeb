#pragma once

// What the line source reader tells the author: its build errors at the
// record that caused them, and warnings for what the format asks but the
// reading does not check (keywords nobody knows, records where they have no
// effect, gradients or curves out of order, positions off the 50 m cells,
// records past the end of the line). The reader calls these as it reads; the
// record in hand is the one whose keyword field it named last.

#include <cstdint>
#include <optional>
#include <string>

#include "compiler/build_errors.h"
#include "compiler/line_placement.h"
#include "compiler/route_model.h"
#include "compiler/source_checks.h"

namespace scenario {

class LineChecks : public RecordChecks {
 public:
  LineChecks(SourceChecks& shared, const RouteModel& model);

  // ---- fields where a keyword belongs ----
  void general_field(const std::string& field, SourcePlace place, bool selects);
  // `passed_over`: a record the reader knows but does not read (a curve without the route plan).
  void body_field(const std::string& field, SourcePlace place, bool selects, bool passed_over);
  void values_read(SourcePlace last_value) { fields_.values_read(last_value); }

  // ---- general section ----
  void no_general_section(const std::string& last_field, SourcePlace place);  // error 102
  void route_too_long(int32_t length);                                        // error 1
  void km_reference(int record, int32_t position, int32_t value);
  void km_references_read();                                               // before they are put in order
  void repetition_not_multiple_of_50(BuildErrorCode code, int32_t value);  // errors 3, 4
  void repetition_without_code_system();                                   // error 5

  // ---- body records, once in range ----
  void beyond_cells(int32_t position);  // error 15
  void gradient(int32_t position, int32_t gradient);
  void curve(int32_t start, int32_t length);
  void curve_without_class();  // error 103
  void plan_too_long();        // error 103
  void mountain(const MountainSection& section);
  void speed_board(const SpeedBoard& board, BuildErrorCode placed);  // error 21 when placed says so
  void sign_board(int32_t position, int32_t cell, bool taken);       // error 6 when taken

 private:
  struct Earlier {
    SourcePlace place;
    int32_t start_m = 0;
    int64_t end_m = 0;
  };

  // A field that selects no record, in the general section or the body.
  void unread_field(const std::string& field, SourcePlace place, bool in_general_section);
  // A record before the one read earlier of its kind.
  void check_order(std::optional<Earlier>& earlier, const std::string& kind, int32_t start, int64_t end,
                   std::optional<int32_t> cell);

  std::optional<Earlier> gradient_, curve_, mountain_;
};

}  // namespace scenario
