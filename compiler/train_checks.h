#pragma once

// What the train source reader tells the author: its build errors at the
// record that caused them (an error 15 carried in from the line source stays
// told at its own record), and warnings for what the format asks but the
// reading does not check (keywords nobody knows, speed and adhesion rows out
// of order, positions off the 50 m cells, records past the end of the line,
// lists left empty). The reader calls these as it reads; the record in hand is
// the one whose keyword field it named last.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/build_errors.h"
#include "compiler/route_model.h"
#include "compiler/signal_placement.h"
#include "compiler/source_checks.h"

namespace scenario {

class TrainChecks : public RecordChecks {
 public:
  TrainChecks(SourceChecks& shared, const RouteModel& model);

  // ---- fields where a keyword belongs ----
  void no_general_section();
  void keyword_field(const std::string& field, SourcePlace place, bool selects);
  void values_read(SourcePlace last_value) { fields_.values_read(last_value); }
  void end_of_file();  // the reading ran to the end: lists the format asks for

  // ---- records, once in range ----
  void beyond_cells(int32_t position, int32_t reach);  // error 15
  void speed_row(int32_t position, int32_t speed);
  void adhesion_row(int32_t position, int32_t adhesion);
  // `carried`: the line source's error 15, which ends the reading at the first signal or slowdown.
  void signal(const SignalRecord& signal, BuildErrorCode placed, bool carried);
  void slowdown(const SlowdownRecord& slowdown, BuildErrorCode placed, bool carried);
  void code_point(int32_t position, int32_t cell, bool cell_taken);               // error 7 when taken
  void station_position_not_multiple_of_50(int32_t position);                     // error 8
  void station_length_not_multiple_of_100(int32_t position, int32_t length);      // error 9
  void station_stop_point_too_early(int32_t number, const TableRecord& station);  // error 24
  void station_too_close(int32_t number, const TableRecord& station, const TableRecord& previous);  // error 22
  void station_placed(const TableRecord& station, std::optional<int32_t> stop_cell);
  void too_many_stations(int32_t number, int32_t sign_floor);  // error 10
  void km_references_not_multiple_of_50();                     // error 2

 private:
  struct Row {
    SourcePlace place;
    int32_t position_m = 0;
  };

  void check_row(std::optional<Row>& earlier, const std::string& rows, int32_t position);
  void reading_ends_here(bool carried, int32_t position, int64_t cell);
  std::string station_named(int32_t number, const TableRecord& station) const;  // station 3 "B"

  std::optional<Row> speed_, adhesion_;
  bool any_speed_row_ = false;
  bool any_adhesion_row_ = false;
  std::vector<SourcePlace> stations_;  // where station n's record stands, at n - 1
};

}  // namespace scenario
