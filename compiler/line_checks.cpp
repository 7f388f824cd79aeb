#include "compiler/line_checks.h"

#include <algorithm>
#include <array>
#include <vector>

#include "compiler/arithmetic.h"
#include "source/field_reader.h"
#include "source/windows1252.h"

namespace scenario {
namespace {

std::vector<std::string_view> joined(std::span<const std::string_view> a, std::span<const std::string_view> b) {
  std::vector<std::string_view> all(a.begin(), a.end());
  all.insert(all.end(), b.begin(), b.end());
  return all;
}

const std::vector<std::string_view>& line_keywords() {
  static const std::vector<std::string_view> all = joined(kLineBodyKeywords, kLineGeneralKeywords);
  return all;
}

}  // namespace

LineChecks::LineChecks(SourceChecks& shared, const RouteModel& model)
    : RecordChecks(shared, model, SourceFile::line, kLineHeaders) {}

// ---- fields where a keyword belongs ----

void LineChecks::general_field(const std::string& field, SourcePlace place, bool selects) {
  if (selects) {
    fields_.selects(field, place, true);
  } else {
    unread_field(field, place, /*in_general_section=*/true);
  }
}

void LineChecks::body_field(const std::string& field, SourcePlace place, bool selects, bool passed_over) {
  if (selects || passed_over) {
    fields_.selects(field, place, selects);
  } else {
    unread_field(field, place, /*in_general_section=*/false);
  }
}

void LineChecks::unread_field(const std::string& field, SourcePlace place, bool in_general_section) {
  if (!fields_.needs_naming(field, place)) return;
  const std::string shown = cp1252_to_utf8(field);
  std::string message;
  if (names_line_general_record(field) && in_general_section) {
    const auto keyword = closest_keyword(field, kLineGeneralKeywords);
    message = "\"" + shown + "\" is not read: apart from \"lunghezza percorso\", the general keywords are " +
              "recognised in lower case only; write \"" + std::string(keyword ? *keyword : lower_case(shown)) + "\"";
  } else if (names_line_general_record(field)) {
    message = "a " + shown + " record after the first section header is not read: general records belong in " +
              "the [generale] section";
  } else if (names_line_body_record(field) && in_general_section) {
    message = "a " + shown + " record in the [generale] section is not read: the records of the line " +
              "belong after the first section header";
  } else if (names_train_record(field)) {
    message = "\"" + shown + "\" is a record of the train source and has no effect in the line source";
  } else {
    message = "unknown keyword \"" + shown + "\": the line is passed over" + did_you_mean(field, line_keywords());
  }
  fields_.warn_and_pass_line(message, place);
}

// ---- general section ----

void LineChecks::no_general_section(const std::string& last_field, SourcePlace place) {
  if (contains_any_case(last_field, "[generale]")) {
    shared_.error(BuildErrorCode::no_general_section, SourceFile::line, place,
                  "\"[generale]\" is the last field of the file, which is never read: put the general records "
                  "after it");
  } else {
    // An empty source has no line to show.
    shared_.error(BuildErrorCode::no_general_section, SourceFile::line,
                  shared_.is_empty(SourceFile::line) ? std::nullopt : std::optional<SourcePlace>(SourcePlace{}),
                  "the line source must begin with a \"[generale]\" line; nothing in it is read");
  }
}

void LineChecks::route_too_long(int32_t length) {
  error(BuildErrorCode::route_too_long, "this route length is " + metres(length) + "; nothing after it is read");
}

void LineChecks::km_reference(int record, int32_t position, int32_t value) {
  shared_.km_references.at(static_cast<size_t>(record - kKmReferenceThree)) =
      KmReferenceRecord{fields_.place(), fields_.keyword(), position, value};
}

void LineChecks::km_references_read() {
  // Two references sharing the greatest route position leave none in force.
  std::array<int64_t, 3> positions{};
  for (size_t i = 0; i < 3; ++i) positions[i] = shared_.km_references[i] ? shared_.km_references[i]->position_m : 0;
  if (positions[0] + positions[1] + positions[2] == 0) return;
  const int64_t greatest = std::max({positions[0], positions[1], positions[2]});
  const std::optional<KmReferenceRecord>* first = nullptr;
  for (const auto& reference : shared_.km_references) {
    if (!reference || reference->position_m != greatest) continue;
    if (first == nullptr) {
      first = &reference;
      continue;
    }
    shared_.warn(SourceFile::line, reference->place,
                 "this kilometre reference shares the greatest route position, " + metres(greatest) +
                     ", with the one on line " + std::to_string((*first)->place.line) +
                     ": all three references are then cleared");
    return;
  }
}

void LineChecks::repetition_not_multiple_of_50(BuildErrorCode code, int32_t value) {
  const char* which = code == BuildErrorCode::repetition_start_not_multiple_of_50 ? "first" : "second";
  error(code, std::string("the ") + which + " value is " + std::to_string(value) + "; write " +
                  multiples_around(value, kCellLength));
}

void LineChecks::repetition_without_code_system() {
  error(BuildErrorCode::repetition_without_code_system,
        "\"" + fields_.keyword() + "\" holds neither 4 (the four-code system) nor 9 (the nine-code system), as in " +
            "\"ripetizione segnali 4 codici\"");
}

// ---- body records ----

void LineChecks::beyond_cells(int32_t position) {
  const int64_t last = int64_t{kCellLength} * model_.last_cell_index() - 100;
  error(BuildErrorCode::beyond_cell_array,
        record_at(position) + " lies past " + metres(last) + ", the last position a record can take on this " +
            metres(model_.table[kTrainRecord].end) +
            " route; the records after it are not read, and the train source only up to its first signal or "
            "slowdown",
        position);
}

void LineChecks::check_order(std::optional<Earlier>& earlier, const std::string& kind, int32_t start, int64_t end,
                             std::optional<int32_t> cell) {
  if (earlier && start < earlier->start_m) {
    warn(record_at(start) + " follows one at " + metres(earlier->start_m) + " (line " +
             std::to_string(earlier->place.line) + "): " + kind + " must stand in ascending order of position",
         start, cell);
  }
  earlier = Earlier{fields_.place(), start, end};
}

void LineChecks::gradient(int32_t position, int32_t gradient) {
  const int32_t cell = cell_holding(position);
  // Two gradients in one cell fight over it as much as two in the wrong order.
  if (gradient_ && position == gradient_->start_m) {
    warn(record_at(position) + " stands at the same position as the one on line " +
             std::to_string(gradient_->place.line) + ": gradients must stand in ascending order of position",
         position, cell);
  }
  check_order(gradient_, "gradients", position, position, cell);
  check_off_grid("position", position, position, cell);
  check_past_end(position, position, cell);
  if (gradient < -100 || gradient > 155) {
    warn("gradient " + std::to_string(gradient) + " lies outside -100 to 155: it is stored plus 100 in one byte and " +
             "reads as " + std::to_string(static_cast<int>(low_8_bits(int64_t{gradient} + 100)) - 100),
         position, cell);
  }
}

void LineChecks::curve(int32_t start, int32_t length) {
  const int64_t end = int64_t{start} + length;
  if (curve_ && start >= curve_->start_m && start < curve_->end_m) {
    warn(record_at(start) + " overlaps the curve on line " + std::to_string(curve_->place.line) + ", which runs to " +
             metres(curve_->end_m) + ": curves must not overlap",
         start);
  }
  check_order(curve_, "curves", start, end, std::nullopt);
  check_past_end(start, end, std::nullopt);
}

void LineChecks::curve_without_class() {
  error(BuildErrorCode::curve_without_class_or_plan_too_long,
        "\"" + fields_.keyword() + "\" holds no class digit 1 to 6, as in \"curvas5\"; the line source is read no " +
            "further");
}

void LineChecks::plan_too_long() {
  error(BuildErrorCode::curve_without_class_or_plan_too_long,
        "this curve takes the route plan past metre 1000000; the line source is read no further");
}

void LineChecks::mountain(const MountainSection& section) {
  const int32_t cell = cell_holding(section.start_m);
  check_order(mountain_, "mountain sections", section.start_m, section.end_m, cell);
  check_off_grid("start", section.start_m, section.start_m, cell);
  check_off_grid("end", section.end_m, section.start_m, cell);
  check_past_end(section.start_m, section.end_m, cell);
}

void LineChecks::speed_board(const SpeedBoard& board, BuildErrorCode placed) {
  const int32_t position = board.position_m;
  const int32_t cell = speed_board_cell(position);
  if (placed != BuildErrorCode::none) return cell_taken(placed, position, cell);
  placed_at(position, cell);
  for (const auto& speeds : {board.s_speeds, board.d_speeds}) {
    for (const int32_t speed : speeds) {
      if (speed % 5 == 0) continue;
      warn("speed " + std::to_string(speed) + " km/h is not a multiple of 5: the board keeps speeds in steps of " +
               "5 km/h; write " + multiples_around(speed, 5),
           position, cell);
      return;
    }
  }
  for (const int16_t stripes : {board.s_stripes, board.d_stripes}) {
    if (stripes < 0 || stripes > 9) {
      warn("stripes " + std::to_string(stripes) + " is not a digit 0 to 9: the board keeps both sets' stripes " +
               "in one number, 10 x s + d",
           position, cell);
      return;
    }
  }
}

void LineChecks::sign_board(int32_t position, int32_t cell, bool taken) {
  if (taken) return cell_taken(BuildErrorCode::sign_board_cell_taken, position, cell);
  placed_at(position, cell);
}

}  // namespace scenario
