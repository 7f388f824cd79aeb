#include "compiler/compiled_meaning.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "compiler/compile.h"
#include "compiler/identity_codes.h"
#include "source/windows1252.h"

namespace scenario {
namespace {

using std::to_string;

std::string with_unit(int32_t raw, std::string_view unit) { return to_string(raw) + " " + std::string(unit); }

std::string speeds_text(const SpeedSet& set) {
  return to_string(set.speeds_kmh[0]) + "/" + to_string(set.speeds_kmh[1]) + "/" + to_string(set.speeds_kmh[2]) +
         " km/h, stripes " + to_string(set.stripes);
}

std::string digits_text(const std::array<int32_t, 3>& values) {
  return to_string(values[0]) + "/" + to_string(values[1]) + "/" + to_string(values[2]);
}

// The text of a table record for an author: UTF-8, in quotes.
std::string record_text(const CompiledTable* table, int32_t index) {
  if (table == nullptr || index < 0 || index >= kTableRecords) return "";
  return " \"" + cp1252_to_utf8((*table)[static_cast<size_t>(index)].text) + "\"";
}

std::string slowdown_values(const Cell& cell, bool with_flag) {
  std::string text = to_string(cell.value1) + " km/h";
  if (cell.value2 != 0) text += ", second value " + to_string(cell.value2);
  if (with_flag) text += ", flag " + to_string(cell.value3);
  return text;
}

bool text_only(const TableRecord& r) {
  TableRecord numbers = r;
  numbers.text.clear();
  return !r.text.empty() && is_cleared(numbers);
}

}  // namespace

std::string_view marker_name(uint8_t marker) {
  switch (marker) {
    case kNothing:
      return "nothing";
    case kSignal:
      return "signal";
    case kSlowdownEnd:
      return "slowdown end board";
    case kSlowdownStart:
      return "slowdown start board";
    case kSlowdownWarning:
      return "slowdown warning board";
    case kOrientationBoard:
      return "orientation board";
    case kSpeedBoard:
      return "speed board";
    case kStopPoint:
      return "station stop point";
    case kMountainMarker:
      return "mountain section marker";
    case kCodePoint:
      return "code point";
    case kCodeOffPoint:
      return "code-off point";
    case kSignBoard:
      return "sign board";
    default:
      return "unknown marker";
  }
}

SpeedBoard speed_board_of(const Cell& cell) {
  SpeedBoard board;
  const std::array<int16_t, 3> packed = {cell.value1, cell.value2, cell.value3};
  for (size_t i = 0; i < packed.size(); ++i) {
    board.left.speeds_kmh[i] = packed[i] / 100 * 5;
    board.right.speeds_kmh[i] = packed[i] % 100 * 5;
  }
  board.left.stripes = cell.value4 / 10;
  board.right.stripes = cell.value4 % 10;
  return board;
}

SignalCodes signal_codes_of(const Cell& cell) {
  SignalCodes codes;
  codes.tens = cell.value4 / 10;
  codes.left_type = cell.value4 % 10 / 3;
  codes.right_type = cell.value4 % 10 % 3;
  const std::array<int16_t, 3> packed = {cell.value1, cell.value2, cell.value3};
  for (size_t i = 0; i < packed.size(); ++i) {
    codes.left_values[i] = packed[i] / 10;
    codes.right_values[i] = packed[i] % 10;
  }
  codes.time = cell.signal_time;
  return codes;
}

std::string describe_approach(uint8_t code) {
  if (code == 0) return "";
  const int step = code % 10;
  const int target = code / 10;
  if (step < 1 || step > 4) return "approach code " + to_string(code);
  const std::string before =
      target == 8 ? "a station stop or a type-8 signal" : "a type-" + to_string(target) + " signal";
  return "approach " + to_string(step) + " of 4 before " + before;
}

int32_t marker_source_position_m(int32_t cell_index, uint8_t marker) {
  switch (marker) {
    case kSignal:
    case kSlowdownEnd:
    case kSlowdownStart:
    case kSlowdownWarning:
    case kSpeedBoard:
    case kSignBoard:
      return (cell_index - 1) * kCellLength;
    default:
      return cell_index * kCellLength;
  }
}

std::string_view role_name(RecordRole role) {
  switch (role) {
    case RecordRole::cleared:
      return "cleared";
    case RecordRole::station:
      return "station";
    case RecordRole::board_text:
      return "sign board text";
    case RecordRole::km_reference:
      return "kilometre reference";
    case RecordRole::train:
      return "train data";
    case RecordRole::scenario:
      return "scenario";
    case RecordRole::train_number:
      return "train number";
    case RecordRole::other:
      return "other";
  }
  return "other";
}

bool is_cleared(const TableRecord& r) {
  if (!r.text.empty()) return false;
  for (const RecordField& field : record_number_fields()) {
    if (field.get(r) != 0) return false;
  }
  return true;
}

std::array<RecordRole, kTableRecords> record_roles(const CompiledTable& table) {
  std::array<RecordRole, kTableRecords> roles{};
  for (size_t i = 0; i < roles.size(); ++i) roles[i] = is_cleared(table[i]) ? RecordRole::cleared : RecordRole::other;
  int floor = kSignFloorStart;
  for (; floor >= 1 && text_only(table[static_cast<size_t>(floor)]); --floor) {
    roles[static_cast<size_t>(floor)] = RecordRole::board_text;
  }
  for (int i = 1; i <= floor && !is_cleared(table[static_cast<size_t>(i)]); ++i) {
    roles[static_cast<size_t>(i)] = RecordRole::station;
  }
  for (int i : {kKmReferenceThree, kKmReferenceTwo, kKmReferenceOne}) {
    roles[static_cast<size_t>(i)] = RecordRole::km_reference;
  }
  roles[kTrainRecord] = RecordRole::train;
  roles[kScenarioRecord] = RecordRole::scenario;
  roles[kTrainNumberRecord] = RecordRole::train_number;
  return roles;
}

int32_t station_length_m(const TableRecord& station) {
  // Kinds 5 to 8 reach back the whole length from the position; the others
  // lie half before it and half after it.
  const int64_t before = int64_t{station.position} - station.start;
  const bool reaches_back = station.kind >= 5 && station.kind <= 8;
  return static_cast<int32_t>(std::clamp<int64_t>(reaches_back ? before : 2 * before, INT32_MIN, INT32_MAX));
}

std::string clock_text(int64_t seconds) {
  const std::string sign = seconds < 0 ? "-" : "";
  const uint64_t s = static_cast<uint64_t>(seconds < 0 ? -seconds : seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu", static_cast<unsigned long long>(s / 3600),
                static_cast<unsigned long long>(s / 60 % 60), static_cast<unsigned long long>(s % 60));
  return sign + text;
}

std::vector<KmReference> km_references(const CompiledTable& table) {
  std::vector<KmReference> references;
  for (int index : {kKmReferenceOne, kKmReferenceTwo, kKmReferenceThree}) {
    const TableRecord& r = table[static_cast<size_t>(index)];
    if (r.start == 0 && r.end == 0 && r.position == 0) continue;
    const bool falling = r.position == 1;
    references.push_back({index, r.start, falling ? r.end - 100 : r.end, falling});
  }
  std::stable_sort(references.begin(), references.end(),
                   [](const KmReference& a, const KmReference& b) { return a.from_m < b.from_m; });
  return references;
}

std::optional<double> km_reading_m(std::span<const KmReference> references, double position_m) {
  std::optional<double> reading;
  for (const KmReference& reference : references) {
    if (reference.from_m <= position_m) reading = reference.reading_at(position_m);
  }
  return reading;
}

std::string km_text(int64_t metres) {
  const uint64_t m = static_cast<uint64_t>(metres < 0 ? -metres : metres);
  char text[40];
  std::snprintf(text, sizeof text, "%s%llu+%03llu", metres < 0 ? "-" : "", static_cast<unsigned long long>(m / 1000),
                static_cast<unsigned long long>(m % 1000));
  return text;
}

std::span<const CellField> cell_fields() {
  static constexpr auto plain = [](int32_t raw) { return to_string(raw); };
  static const CellField fields[] = {
      {"marker", [](const Cell& c) -> int32_t { return c.marker; },
       [](int32_t raw) { return to_string(raw) + " (" + std::string(marker_name(static_cast<uint8_t>(raw))) + ")"; }},
      {"value 1", [](const Cell& c) -> int32_t { return c.value1; }, plain},
      {"value 2", [](const Cell& c) -> int32_t { return c.value2; }, plain},
      {"value 3", [](const Cell& c) -> int32_t { return c.value3; }, plain},
      {"value 4", [](const Cell& c) -> int32_t { return c.value4; }, plain},
      {"signal time", [](const Cell& c) -> int32_t { return c.signal_time; }, plain},
      {"approach code", [](const Cell& c) -> int32_t { return c.approach_code; }, plain},
      {"mountain type", [](const Cell& c) -> int32_t { return c.mountain_type; }, plain},
      {"speed limit", [](const Cell& c) -> int32_t { return c.speed_limit; },
       [](int32_t raw) { return with_unit(raw * 5, "km/h"); }},
      {"gradient", [](const Cell& c) -> int32_t { return c.gradient; },
       [](int32_t raw) { return with_unit(raw - 100, "‰"); }},
      {"adhesion", [](const Cell& c) -> int32_t { return c.adhesion; },
       [](int32_t raw) { return with_unit(raw, "%"); }},
  };
  return fields;
}

std::span<const RecordField> record_number_fields() {
  static const RecordField fields[] = {
      {"kind", [](const TableRecord& r) -> int32_t { return r.kind; }},
      {"start", [](const TableRecord& r) -> int32_t { return r.start; }},
      {"end", [](const TableRecord& r) -> int32_t { return r.end; }},
      {"position", [](const TableRecord& r) -> int32_t { return r.position; }},
      {"flag", [](const TableRecord& r) -> int32_t { return r.flag; }},
      {"word 1", [](const TableRecord& r) -> int32_t { return r.word1; }},
      {"word 2", [](const TableRecord& r) -> int32_t { return r.word2; }},
      {"word 3", [](const TableRecord& r) -> int32_t { return r.word3; }},
      {"word 4", [](const TableRecord& r) -> int32_t { return r.word4; }},
      {"word 5", [](const TableRecord& r) -> int32_t { return r.word5; }},
      {"byte 1", [](const TableRecord& r) -> int32_t { return r.byte1; }},
      {"byte 2", [](const TableRecord& r) -> int32_t { return r.byte2; }},
      {"byte 3", [](const TableRecord& r) -> int32_t { return r.byte3; }},
      {"byte 4", [](const TableRecord& r) -> int32_t { return r.byte4; }},
      {"time", [](const TableRecord& r) -> int32_t { return r.time; }},
  };
  return fields;
}

std::string_view record_field_name(RecordRole role, std::string_view field) {
  struct Name {
    RecordRole role;
    std::string_view field;
    std::string_view name;
  };
  static constexpr Name names[] = {
      {RecordRole::station, "start", "area start"},
      {RecordRole::station, "end", "area end"},
      {RecordRole::station, "byte 2", "stop"},
      {RecordRole::station, "text", "name"},
      {RecordRole::board_text, "text", "board text"},
      {RecordRole::km_reference, "start", "route position"},
      {RecordRole::km_reference, "end", "kilometre value"},
      {RecordRole::km_reference, "position", "direction"},
      {RecordRole::train, "start", "braked mass"},
      {RecordRole::train, "end", "route length"},
      {RecordRole::train, "position", "cars"},
      {RecordRole::scenario, "start", "background 1"},
      {RecordRole::scenario, "position", "background 2"},
      {RecordRole::scenario, "end", "background 3"},
      {RecordRole::scenario, "text", "scenario name"},
      {RecordRole::scenario, "word 1", "stamp"},
      {RecordRole::scenario, "time", "table identity code"},
      {RecordRole::train_number, "start", "signal repetition start"},
      {RecordRole::train_number, "end", "signal repetition end"},
      {RecordRole::train_number, "position", "code system"},
      {RecordRole::train_number, "text", "train number"},
      {RecordRole::train_number, "word 1", "sand"},
      {RecordRole::train_number, "word 3", "clock hours"},
      {RecordRole::train_number, "word 4", "clock minutes"},
      {RecordRole::train_number, "word 5", "clock seconds"},
  };
  for (const Name& n : names) {
    if (n.role == role && n.field == field) return n.name;
  }
  return field;
}

std::string show_record_field(RecordRole role, std::string_view field, int32_t raw) {
  if (role == RecordRole::station) {
    if (field == "time") return clock_text(raw);
    if (field == "byte 2") return with_unit(raw, "s");
    if (field == "start" || field == "end" || field == "position") return with_unit(raw, "m");
  }
  if (role == RecordRole::km_reference && (field == "start" || field == "end")) return with_unit(raw, "m");
  if (role == RecordRole::train) {
    if (field == "start") return with_unit(raw, "%");
    if (field == "end") return with_unit(raw, "m");
  }
  return to_string(raw);
}

std::string describe_marker(int32_t cell_index, const Cell& cell, const CompiledTable* table) {
  const std::string name(marker_name(cell.marker));
  switch (cell.marker) {
    case kNothing: {
      if (cell_index == 1) {
        return "compiler stamps: value 1 " + to_string(cell.value1) + ", route identity code " + to_string(cell.value2);
      }
      if (cell.value1 == 0 && cell.value2 == 0 && cell.value3 == 0 && cell.value4 == 0) return "";
      break;
    }
    case kSignal: {
      const SignalCodes codes = signal_codes_of(cell);
      std::string text = name + " type " + to_string(codes.combined_type()) + " (left " + to_string(codes.left_type) +
                         ", right " + to_string(codes.right_type) + "): left " + digits_text(codes.left_values) +
                         ", right " + digits_text(codes.right_values);
      if (codes.tens != 0) text += ", tens " + to_string(codes.tens);
      if (codes.time != 0) text += ", time " + to_string(codes.time);
      return text;
    }
    case kSlowdownEnd:
    case kSlowdownStart:
      return name + ": " + slowdown_values(cell, true);
    case kSlowdownWarning:
      return name + ": " + slowdown_values(cell, false);
    case kOrientationBoard:
      return name + " " + to_string(cell.value1);
    case kSpeedBoard: {
      const SpeedBoard board = speed_board_of(cell);
      std::string text = name + ": left " + speeds_text(board.left);
      if (board.right.shown()) text += "; right " + speeds_text(board.right);
      return text;
    }
    case kStopPoint:
      return name + " of station " + to_string(cell.value1) + record_text(table, cell.value1);
    case kMountainMarker:
    case kCodeOffPoint:
      return name;
    case kCodePoint:
      return name + ", code " + to_string(cell.value1);
    case kSignBoard:
      return name + ", record " + to_string(cell.value1) + record_text(table, cell.value1);
    default:
      break;
  }
  return name + " " + to_string(cell.marker) + ", values " + to_string(cell.value1) + " " + to_string(cell.value2) +
         " " + to_string(cell.value3) + " " + to_string(cell.value4);
}

std::vector<MarkCheck> check_marks(const DecodedScenario& scenario) {
  std::vector<MarkCheck> checks;
  if (scenario.cells) checks.push_back({"cell stamp (value 1 of cell 1)", (*scenario.cells)[1].value1, kCellStamp});
  if (scenario.table) {
    RouteModel identity;
    identity.table = *scenario.table;
    const TableRecord& record85 = identity.table[kScenarioRecord];
    checks.push_back({"table stamp (word 1 of record 85)", record85.word1, kTableStamp});
    checks.push_back({"table identity code (time of record 85)", record85.time, table_identity_code(identity)});
    if (scenario.cells) {
      checks.push_back(
          {"route identity code (value 2 of cell 1)", (*scenario.cells)[1].value2, route_identity_code(identity)});
    }
  }
  return checks;
}

std::optional<int32_t> route_length_m(const DecodedScenario& scenario) {
  if (scenario.table) return (*scenario.table)[kTrainRecord].end;
  if (scenario.cells) return static_cast<int32_t>(scenario.cells->size() - 1) * kCellLength - kRunOut;
  if (scenario.plan) return scenario.plan->last_metre - kRunOut;
  return std::nullopt;
}

std::vector<double> heights_m(std::span<const Cell> cells) {
  std::vector<double> heights(cells.size() + 1, 0.0);
  for (size_t k = 0; k < cells.size(); ++k) {
    heights[k + 1] = heights[k] + gradient_per_mille(cells[k]) * (kCellLength / 1000.0);
  }
  return heights;
}

std::vector<SlowdownExtent> slowdowns_of(std::span<const Cell> cells) {
  std::vector<SlowdownExtent> found;
  const auto count = static_cast<int32_t>(cells.size());
  for (int32_t c = 0; c < count; ++c) {
    if (cells[static_cast<size_t>(c)].marker != kSlowdownStart) continue;
    SlowdownExtent slowdown{c, c, cells[static_cast<size_t>(c)].value1, std::nullopt};
    for (int32_t e = c + 1; e < count && cells[static_cast<size_t>(e)].marker != kSlowdownStart; ++e) {
      if (cells[static_cast<size_t>(e)].marker == kSlowdownEnd) {
        slowdown.end_cell = e;
        break;
      }
    }
    // The warning board stands 1200 m (24 cells) before the start board.
    const int32_t warning = c - 24;
    if (warning >= 0 && cells[static_cast<size_t>(warning)].marker == kSlowdownWarning) slowdown.warning_cell = warning;
    found.push_back(slowdown);
  }
  return found;
}

PlanSummary summarize_plan(const DecodedPlan& plan) {
  PlanSummary summary;
  summary.last_metre = plan.last_metre;
  for (const DecodedPlanEntry& entry : plan.entries) {
    if (entry.tag == kPlanTagEmpty) ++summary.empty_entries;
    if (entry.tag == kPlanTagInt16) ++summary.integer_entries;
    if (entry.tag == kPlanTagDouble) ++summary.number_entries;
  }
  bool have_point = false;
  bool have_heading = false;
  double x0 = 0, y0 = 0, heading0 = 0;
  for (int32_t m = 0; m <= plan.last_metre; ++m) {
    const DecodedPlanEntry& ex = plan.at(m, 0);
    const DecodedPlanEntry& ey = plan.at(m, 1);
    if (!ex.is_number() || !ey.is_number() || !std::isfinite(ex.value) || !std::isfinite(ey.value)) continue;
    const double x = ex.value, y = ey.value;
    if (!have_point) {
      summary.min_x = summary.max_x = x;
      summary.min_y = summary.max_y = y;
    }
    summary.min_x = std::min(summary.min_x, x);
    summary.max_x = std::max(summary.max_x, x);
    summary.min_y = std::min(summary.min_y, y);
    summary.max_y = std::max(summary.max_y, y);
    if (have_point && (x != x0 || y != y0)) {
      summary.track_length_m += std::hypot(x - x0, y - y0);
      // Headings as bearings from the second coordinate toward the first: a right turn grows them.
      const double heading = std::atan2(x - x0, y - y0);
      if (have_heading) {
        double turn = heading - heading0;
        if (turn > std::numbers::pi) turn -= 2 * std::numbers::pi;
        if (turn < -std::numbers::pi) turn += 2 * std::numbers::pi;
        summary.total_turn_rad += std::abs(turn);
        summary.net_turn_rad += turn;
      }
      heading0 = heading;
      have_heading = true;
    }
    x0 = x;
    y0 = y;
    have_point = true;
    summary.end_x = x;
    summary.end_y = y;
    summary.last_point_metre = m;
    ++summary.point_count;
  }
  return summary;
}

}  // namespace scenario
