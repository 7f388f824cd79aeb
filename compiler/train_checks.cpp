#include "compiler/train_checks.h"

#include "compiler/arithmetic.h"
#include "source/windows1252.h"

namespace scenario {

TrainChecks::TrainChecks(SourceChecks& shared, const RouteModel& model)
    : RecordChecks(shared, model, SourceFile::train, kTrainHeaders) {}

std::string TrainChecks::station_named(int32_t number, const TableRecord& station) const {
  return "station " + std::to_string(number) + " \"" + cp1252_to_utf8(station.text) + "\"";
}

// ---- fields where a keyword belongs ----

void TrainChecks::no_general_section() {
  if (shared_.is_empty(SourceFile::train)) return;  // already told
  shared_.warn(SourceFile::train, std::nullopt,
               "the train source has no \"[generale]\" line: nothing in it is read; begin it with one");
}

void TrainChecks::keyword_field(const std::string& field, SourcePlace place, bool selects) {
  if (selects) {
    fields_.selects(field, place, true);
    return;
  }
  if (!fields_.needs_naming(field, place)) return;
  const std::string shown = cp1252_to_utf8(field);
  if (names_line_general_record(field) || names_line_body_record(field)) {
    fields_.warn_and_pass_line("\"" + shown + "\" is a record of the line source and has no effect in the train source",
                               place);
  } else {
    fields_.warn_and_pass_line(
        "unknown keyword \"" + shown + "\": the line is passed over" + did_you_mean(field, kTrainKeywords), place);
  }
}

void TrainChecks::end_of_file() {
  if (!any_speed_row_) {
    shared_.warn(SourceFile::train, std::nullopt,
                 "the train source has no speed rows (\"velocita\"): every cell gets the speed limit 0");
  }
  if (!any_adhesion_row_) {
    shared_.warn(SourceFile::train, std::nullopt,
                 "the train source has no adhesion rows (\"aderenza\"): every cell gets the adhesion 0");
  }
  if (stations_.empty()) {
    shared_.warn(SourceFile::train, std::nullopt,
                 "the train source has no stations: write them as \"stazione\" records in a [stazioni] section");
  }
}

// ---- records ----

void TrainChecks::beyond_cells(int32_t position, int32_t reach) {
  const int64_t last = int64_t{kCellLength} * model_.last_cell_index() - reach;
  error(BuildErrorCode::beyond_cell_array,
        record_at(position) + " lies past " + metres(last) + ", the last position it can take on this " +
            metres(model_.table[kTrainRecord].end) + " route; the records after it are not read",
        position);
}

void TrainChecks::check_row(std::optional<Row>& earlier, const std::string& rows, int32_t position) {
  const int32_t cell = cell_holding(position);
  if (!earlier && position != 0) {
    warn("the first of the " + rows + " stands at " + metres(position) + ", not at 0: the cells before it get 0",
         position, cell);
  }
  if (earlier && position <= earlier->position_m) {
    warn(record_at(position) + " follows one at " + metres(earlier->position_m) + " (line " +
             std::to_string(earlier->place.line) + "): the " + rows +
             " must stand in strictly ascending order of position",
         position, cell);
  }
  earlier = Row{fields_.place(), position};
  check_off_grid("position", position, position, cell);
  check_past_end(position, position, cell);
}

void TrainChecks::speed_row(int32_t position, int32_t speed) {
  any_speed_row_ = true;
  check_row(speed_, "speed rows", position);
  if (speed % 5 != 0) {
    warn("speed " + std::to_string(speed) + " km/h is not a multiple of 5: the cells keep speeds in steps of 5 km/h; " +
             "write " + multiples_around(speed, 5),
         position, cell_holding(position));
  }
}

void TrainChecks::adhesion_row(int32_t position, int32_t adhesion) {
  any_adhesion_row_ = true;
  check_row(adhesion_, "adhesion rows", position);
  if (adhesion < 0 || adhesion > 255) {
    warn("adhesion " + std::to_string(adhesion) + " lies outside 0 to 255: the cells keep it in one byte, as " +
             std::to_string(low_8_bits(adhesion)),
         position, cell_holding(position));
  }
}

void TrainChecks::reading_ends_here(bool carried, int32_t position, int64_t cell) {
  if (!carried) return;
  warn("the train source is read no further than this " + fields_.keyword() +
           ": the line source's error 15 ends the reading at the first signal or slowdown",
       position, static_cast<int32_t>(cell));
}

void TrainChecks::signal(const SignalRecord& signal, BuildErrorCode placed, bool carried) {
  const int32_t position = signal.position_m;
  const int64_t cell = signal_cell(position);
  if (placed != BuildErrorCode::none) return cell_taken(placed, position, cell);
  placed_at(position, cell);
  reading_ends_here(carried, position, cell);
}

void TrainChecks::slowdown(const SlowdownRecord& slowdown, BuildErrorCode placed, bool carried) {
  const int32_t position = slowdown.start_m;
  const SlowdownCells cells = slowdown_cells(slowdown);
  const auto told = [&](int64_t cell, const std::string& board) {
    error(placed,
          board + " falls in cell " + std::to_string(cell) + ", which already holds " +
              shared_.holder_of(model_, cell, SourceFile::train),
          position, static_cast<int32_t>(cell));
  };
  switch (placed) {
    case BuildErrorCode::warning_board_cell_taken:
      return told(cells.warning, "the warning board 1200 m before the slowdown");
    case BuildErrorCode::start_board_cell_taken:
      return told(cells.start, "the start board");
    case BuildErrorCode::end_board_cell_taken:
      return told(cells.end, "the end board at " + metres(int64_t{slowdown.start_m} + slowdown.length_m));
    default:
      break;
  }
  // Warning, start and end boards stand even when an orientation board finds no cell.
  if (cells.warned) shared_.placed(cells.warning, SourceFile::train, fields_.place());
  shared_.placed(cells.start, SourceFile::train, fields_.place());
  shared_.placed(cells.end, SourceFile::train, fields_.place());
  if (placed == BuildErrorCode::orientation_board_cell_taken) {
    for (int64_t cell = cells.first_orientation; cell > cells.first_orientation - kOrientationBoards; --cell) {
      if (model_.cells.at(static_cast<size_t>(cell)).is_free()) continue;
      error(placed,
            "the four orientation boards need cells " + std::to_string(cells.first_orientation) + " to " +
                std::to_string(cells.first_orientation - kOrientationBoards + 1) + ", and cell " +
                std::to_string(cell) + " already holds " + shared_.holder_of(model_, cell, SourceFile::train),
            position, static_cast<int32_t>(cell));
      return;
    }
  }
  if (cells.oriented) {
    for (int i = 0; i < kOrientationBoards; ++i) {
      shared_.placed(cells.first_orientation - i, SourceFile::train, fields_.place());
    }
  }
  const auto start_cell = static_cast<int32_t>(cells.start);
  check_off_grid("start", position, position, start_cell);
  check_off_grid("length", slowdown.length_m, position, start_cell);
  check_past_end(position, int64_t{position} + slowdown.length_m, start_cell);
  reading_ends_here(carried, position, start_cell);
}

void TrainChecks::code_point(int32_t position, int32_t cell, bool taken) {
  if (taken) return cell_taken(BuildErrorCode::code_point_cell_taken, position, cell);
  placed_at(position, cell);
}

void TrainChecks::station_position_not_multiple_of_50(int32_t position) {
  error(BuildErrorCode::station_position_not_multiple_of_50,
        metres(position) + "; write " + multiples_around(position, kCellLength), position);
}

void TrainChecks::station_length_not_multiple_of_100(int32_t position, int32_t length) {
  error(BuildErrorCode::station_length_not_multiple_of_100,
        "the length is " + metres(length) + "; write " + multiples_around(length, 100), position);
}

void TrainChecks::station_stop_point_too_early(int32_t number, const TableRecord& station) {
  error(BuildErrorCode::stop_point_too_early,
        station_named(number, station) + " ends at " + metres(station.end) +
            ", so its stop point would fall in cell 1 or before; it must end beyond 100 m",
        station.position);
}

void TrainChecks::station_too_close(int32_t number, const TableRecord& station, const TableRecord& previous) {
  const std::string earlier = station_named(number - 1, previous);
  const std::string line = static_cast<size_t>(number - 1) <= stations_.size()
                               ? " (line " + std::to_string(stations_[static_cast<size_t>(number - 2)].line) + ")"
                               : "";
  std::string detail;
  if (station.position < previous.position) {
    detail = station_named(number, station) + " at " + metres(station.position) + " stands before " + earlier + " at " +
             metres(previous.position) + line + ": stations must stand in route order";
  } else if (station.position == previous.position) {
    detail = station_named(number, station) + " stands at the same position as " + earlier + line +
             ": stations must stand in route order, 350 m apart";
  } else if (station.start < previous.end) {
    detail = station_named(number, station) + " starts at " + metres(station.start) + ", before " + earlier +
             " ends at " + metres(previous.end) + line + "; leave at least 350 m between them";
  } else {
    detail = station_named(number, station) + " starts at " + metres(station.start) + ", only " +
             metres(int64_t{station.start} - previous.end) + " after " + earlier + " ends at " + metres(previous.end) +
             line + "; leave at least 350 m between them";
  }
  error(BuildErrorCode::station_too_close, detail, station.position);
}

void TrainChecks::station_placed(const TableRecord& station, std::optional<int32_t> stop_cell) {
  stations_.push_back(fields_.place());
  if (stop_cell) shared_.placed(*stop_cell, SourceFile::train, fields_.place());
  check_past_end(station.position, station.position, std::nullopt);
}

void TrainChecks::too_many_stations(int32_t number, int32_t sign_floor) {
  const int32_t boards = kSignFloorStart - sign_floor;
  error(BuildErrorCode::too_many_stations,
        "station " + std::to_string(number) + " is one too many: with " + std::to_string(boards) +
            " sign boards in the line source the table holds " + std::to_string(sign_floor - 2) + " stations",
        model_.table.at(static_cast<size_t>(number)).position);
}

void TrainChecks::km_references_not_multiple_of_50() {
  for (const auto& reference : shared_.km_references) {
    if (!reference || (reference->position_m % kCellLength == 0 && reference->value_m % kCellLength == 0)) continue;
    shared_.error(BuildErrorCode::km_reference_not_multiple_of_50, SourceFile::line, reference->place,
                  "\"" + reference->keyword + "\" has route position " + metres(reference->position_m) +
                      " and kilometre value " + metres(reference->value_m) + "; both must be multiples of 50");
  }
}

}  // namespace scenario
