#include "tools/report_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>

#include "compiler/compiled_meaning.h"
#include "source/windows1252.h"
#include "tools/compiled_files.h"
#include "tools/report_text.h"

namespace scenario {
namespace {

using Json = nlohmann::ordered_json;
using std::to_string;

std::string utf8(const std::string& cp1252_bytes) { return cp1252_to_utf8(cp1252_bytes); }

bool same_cell(const Cell& a, const Cell& b) {
  for (const CellField& field : cell_fields()) {
    if (field.get(a) != field.get(b)) return false;
  }
  return true;
}

std::string degrees(double radians) { return fixed(radians * 180 / std::numbers::pi, 1) + "°"; }

// The cells a sign board text is shown on.
std::vector<int32_t> cells_showing(const std::vector<Cell>* cells, int record) {
  std::vector<int32_t> found;
  if (cells == nullptr) return found;
  for (size_t k = 0; k < cells->size(); ++k) {
    if ((*cells)[k].marker == kSignBoard && (*cells)[k].value1 == record) found.push_back(static_cast<int32_t>(k));
  }
  return found;
}

std::string cell_extras(const Cell& cell) {
  std::string extras;
  if (cell.approach_code != 0) extras = describe_approach(cell.approach_code);
  if (cell.signal_time != 0 && cell.marker != kSignal) {
    extras += (extras.empty() ? "" : "; ") + std::string("signal time ") + to_string(cell.signal_time);
  }
  return extras;
}

// ---- text ----

void print_files(std::ostream& out, const LoadedScenario& loaded) {
  const DecodedScenario& s = loaded.scenario;
  if (s.cells) {
    out << "  " << pad_right("cell file", 16) << *loaded.paths.cells << ": cells 0 to " << s.cells->size() - 1 << ", "
        << *loaded.cell_bytes << " bytes\n";
  }
  if (s.table) {
    out << "  " << pad_right("table file", 16) << *loaded.paths.table << ": " << kTableRecords << " records, "
        << *loaded.table_bytes << " bytes\n";
  }
  if (s.plan) {
    out << "  " << pad_right("line plan file", 16) << *loaded.paths.line_plan << ": metres 0 to " << s.plan->last_metre
        << ", " << *loaded.line_plan_bytes << " bytes\n";
  } else if (s.table) {
    out << "  " << pad_right("line plan file", 16) << "none (compiled without the plan, or not given)\n";
  }
}

void print_checks(std::ostream& out, const DecodedScenario& s) {
  const std::vector<MarkCheck> checks = check_marks(s);
  if (checks.empty()) return;
  out << "\nStamps and identity codes\n";
  for (const MarkCheck& check : checks) {
    out << "  " << (check.ok() ? "ok      " : "WRONG   ") << check.what << ": " << check.found;
    if (!check.ok()) out << ", must be " << check.expected;
    out << "\n";
  }
}

void print_train(std::ostream& out, const CompiledTable& table) {
  const TableRecord& train = table[kTrainRecord];
  const TableRecord& scenario = table[kScenarioRecord];
  const TableRecord& number = table[kTrainNumberRecord];
  auto row = [&out](const std::string& name, const std::string& value) {
    out << "  " << pad_right(name, 20) << value << "\n";
  };
  out << "\nTrain and line\n";
  row("route length", to_string(train.end) + " m (" + fixed(train.end / 1000.0, 1) + " km)");
  row("braked mass", to_string(train.start) + " %");
  row("cars", to_string(train.position));
  row("sand", to_string(number.word1));
  row("clock at start", clock_text((number.word3 * 60 + number.word4) * 60 + number.word5));
  row("signal repetition", number.end == 0 ? "none"
                                           : "from " + to_string(number.start) + " m to " + to_string(number.end) +
                                                 " m, " + to_string(number.position) + "-code system");
  row("backgrounds", to_string(scenario.start) + ", " + to_string(scenario.position) + ", " + to_string(scenario.end));
}

void print_stations(std::ostream& out, const CompiledTable& table, const std::array<RecordRole, kTableRecords>& roles) {
  std::vector<int> stations;
  for (int i = 0; i < kTableRecords; ++i) {
    if (roles[static_cast<size_t>(i)] == RecordRole::station) stations.push_back(i);
  }
  out << "\nStations (" << stations.size() << ")\n";
  if (stations.empty()) return;
  out << "  rec  " << pad_right("name", 22) << pad_left("position", 10) << "  " << pad_right("area", 20)
      << pad_left("length", 8) << pad_left("kind", 6) << pad_left("stop", 7) << "  time\n";
  for (int i : stations) {
    const TableRecord& r = table[static_cast<size_t>(i)];
    out << "  " << pad_left(to_string(i), 3) << "  " << pad_right(utf8(r.text), 22)
        << pad_left(to_string(r.position) + " m", 10) << "  "
        << pad_right(to_string(r.start) + " to " + to_string(r.end) + " m", 20)
        << pad_left(to_string(station_length_m(r)) + " m", 8) << pad_left(to_string(r.kind), 6)
        << pad_left(to_string(r.byte2) + " s", 7) << "  " << (r.time == 0 ? "passes" : clock_text(r.time)) << "\n";
  }
}

void print_boards(std::ostream& out, const CompiledTable& table, const std::array<RecordRole, kTableRecords>& roles,
                  const std::vector<Cell>* cells) {
  std::vector<int> boards;
  for (int i = kSignFloorStart; i >= 0; --i) {
    if (roles[static_cast<size_t>(i)] == RecordRole::board_text) boards.push_back(i);
  }
  out << "\nSign boards (" << boards.size() << ")\n";
  if (boards.empty()) return;
  out << "  rec  " << pad_left("cell", 6) << pad_left("position", 10) << "  text\n";
  for (int i : boards) {
    const std::vector<int32_t> shown = cells_showing(cells, i);
    std::string cell = cells == nullptr ? "" : shown.empty() ? "none" : to_string(shown.front());
    std::string position = shown.empty() ? "" : to_string(marker_source_position_m(shown.front(), kSignBoard)) + " m";
    out << "  " << pad_left(to_string(i), 3) << "  " << pad_left(cell, 6) << pad_left(position, 10) << "  "
        << utf8(table[static_cast<size_t>(i)].text) << "\n";
  }
}

void print_km_references(std::ostream& out, const CompiledTable& table) {
  out << "\nKilometre references\n";
  const std::vector<KmReference> references = km_references(table);
  if (references.empty()) out << "  none\n";
  for (const KmReference& r : references) {
    out << "  record " << r.record << ": from " << r.from_m << " m, km " << km_text(r.value_m) << ", readings "
        << (r.falling ? "falling" : "growing") << " along the route\n";
  }
}

void print_record_roles(std::ostream& out, const CompiledTable& table,
                        const std::array<RecordRole, kTableRecords>& roles) {
  out << "\nRecords\n";
  for (int first = 0; first < kTableRecords;) {
    int last = first;
    while (last + 1 < kTableRecords && roles[static_cast<size_t>(last + 1)] == roles[static_cast<size_t>(first)]) {
      ++last;
    }
    const std::string range = first == last ? to_string(first) : to_string(first) + " to " + to_string(last);
    out << "  " << pad_right(range, 10) << role_name(roles[static_cast<size_t>(first)]) << "\n";
    first = last + 1;
  }
  // Records that fit no role are shown whole, so that nothing in the file goes unseen.
  for (int i = 0; i < kTableRecords; ++i) {
    if (roles[static_cast<size_t>(i)] != RecordRole::other) continue;
    const TableRecord& r = table[static_cast<size_t>(i)];
    out << "  record " << i << ":";
    for (const RecordField& field : record_number_fields()) out << " " << field.name << " " << field.get(r) << ",";
    out << " text \"" << utf8(r.text) << "\"\n";
  }
}

void print_plan(std::ostream& out, const DecodedPlan& plan) {
  const PlanSummary p = summarize_plan(plan);
  auto row = [&out](const std::string& name, const std::string& value) {
    out << "  " << pad_right(name, 20) << value << "\n";
  };
  out << "\nLine plan\n";
  row("metres", "0 to " + to_string(p.last_metre) + " (" + to_string(p.integer_entries) + " integer, " +
                    to_string(p.number_entries) + " floating-point, " + to_string(p.empty_entries) + " empty entries)");
  if (p.point_count == 0) {
    row("points", "none: no metre has two numbers");
    return;
  }
  row("first coordinate", fixed(p.min_x, 1) + " to " + fixed(p.max_x, 1) + " m");
  row("second coordinate", fixed(p.min_y, 1) + " to " + fixed(p.max_y, 1) + " m");
  row("track length", fixed(p.track_length_m, 1) + " m along the points");
  row("total curvature", fixed(p.total_turn_rad, 3) + " rad (" + degrees(p.total_turn_rad) + ") turned; net " +
                             degrees(std::abs(p.net_turn_rad)) +
                             (p.net_turn_rad < 0 ? " to the left" : " to the right"));
  row("ends", "at metre " + to_string(p.last_point_metre) + ", (" + fixed(p.end_x, 1) + ", " + fixed(p.end_y, 1) + ")" +
                  (p.last_point_metre < p.last_metre ? "; metres after it are empty" : ""));
}

void print_cells(std::ostream& out, const std::vector<Cell>& cells, const CompiledTable* table) {
  out << "\nCells (" << cells.size() << ", " << kCellLength << " m each; runs of identical cells folded)\n";
  out << "  " << pad_right("cells", 14) << pad_right("metres", 18) << pad_left("speed", 9) << pad_left("gradient", 10)
      << pad_left("adhesion", 10) << pad_left("mountain", 10) << "  what stands there\n";
  for (size_t first = 0; first < cells.size();) {
    size_t last = first;
    while (last + 1 < cells.size() && same_cell(cells[last + 1], cells[first])) ++last;
    const Cell& cell = cells[first];
    const std::string range = first == last ? to_string(first) : to_string(first) + ".." + to_string(last);
    std::string what = describe_marker(static_cast<int32_t>(first), cell, table);
    const std::string extras = cell_extras(cell);
    if (!extras.empty()) what += (what.empty() ? "" : "; ") + extras;
    out << "  " << pad_right(range, 14)
        << pad_right(cell_metres(static_cast<int64_t>(first), static_cast<int64_t>(last)), 18)
        << pad_left(to_string(speed_limit_kmh(cell)) + " km/h", 9)
        << pad_left(to_string(gradient_per_mille(cell)) + " ‰", 10) << pad_left(to_string(cell.adhesion) + " %", 10)
        << pad_left(to_string(cell.mountain_type), 10) << "  " << what << "\n";
    first = last + 1;
  }
}

void print_text(std::ostream& out, const LoadedScenario& loaded) {
  const DecodedScenario& s = loaded.scenario;
  const CompiledTable* table = s.table ? &*s.table : nullptr;
  if (table != nullptr) {
    out << "Compiled scenario " << utf8((*table)[kScenarioRecord].text) << ", train "
        << utf8((*table)[kTrainNumberRecord].text) << "\n";
  } else {
    out << "Compiled files (without the table file)\n";
  }
  print_files(out, loaded);
  print_checks(out, s);
  if (table != nullptr) {
    const std::array<RecordRole, kTableRecords> roles = record_roles(*table);
    print_train(out, *table);
    print_stations(out, *table, roles);
    print_boards(out, *table, roles, s.cells ? &*s.cells : nullptr);
    print_km_references(out, *table);
    print_record_roles(out, *table, roles);
  }
  if (s.plan) print_plan(out, *s.plan);
  if (s.cells) print_cells(out, *s.cells, table);
}

// ---- JSON ----

Json speed_set_json(const SpeedSet& set) { return Json{{"speeds_kmh", set.speeds_kmh}, {"stripes", set.stripes}}; }

Json cell_json(size_t index, const Cell& cell, const CompiledTable* table) {
  Json j;
  j["index"] = index;
  j["start_m"] = static_cast<int64_t>(index) * kCellLength;
  j["marker"] = marker_name(cell.marker);
  j["marker_code"] = cell.marker;
  j["values"] = {cell.value1, cell.value2, cell.value3, cell.value4};
  j["signal_time"] = cell.signal_time;
  j["approach_code"] = cell.approach_code;
  j["mountain_type"] = cell.mountain_type;
  j["speed_limit_kmh"] = speed_limit_kmh(cell);
  j["gradient_per_mille"] = gradient_per_mille(cell);
  j["adhesion_percent"] = cell.adhesion;
  j["description"] = describe_marker(static_cast<int32_t>(index), cell, table);
  if (cell.approach_code != 0) j["approach"] = describe_approach(cell.approach_code);
  if (cell.marker == kSpeedBoard) {
    const SpeedBoard board = speed_board_of(cell);
    j["speed_board"] = {{"left", speed_set_json(board.left)}, {"right", speed_set_json(board.right)}};
  }
  if (cell.marker == kSignal) {
    const SignalCodes codes = signal_codes_of(cell);
    j["signal"] = {{"type", codes.combined_type()},
                   {"left_type", codes.left_type},
                   {"right_type", codes.right_type},
                   {"tens", codes.tens},
                   {"left_values", codes.left_values},
                   {"right_values", codes.right_values},
                   {"time", codes.time}};
  }
  return j;
}

Json record_json(int index, const TableRecord& r, RecordRole role) {
  Json j;
  j["index"] = index;
  j["role"] = role_name(role);
  for (const RecordField& field : record_number_fields()) j[std::string(field.name)] = field.get(r);
  j["text"] = utf8(r.text);
  return j;
}

Json plan_json(const DecodedPlan& plan) {
  const PlanSummary p = summarize_plan(plan);
  Json j;
  j["last_metre"] = p.last_metre;
  j["entries"] = {{"integer", p.integer_entries}, {"floating_point", p.number_entries}, {"empty", p.empty_entries}};
  j["points"] = p.point_count;
  if (p.point_count > 0) {
    j["first_coordinate"] = {{"min", p.min_x}, {"max", p.max_x}};
    j["second_coordinate"] = {{"min", p.min_y}, {"max", p.max_y}};
    j["track_length_m"] = p.track_length_m;
    j["total_curvature_rad"] = p.total_turn_rad;
    j["net_turn_rad"] = p.net_turn_rad;
    j["ends"] = {{"metre", p.last_point_metre}, {"first", p.end_x}, {"second", p.end_y}};
  }
  return j;
}

Json scenario_json(const LoadedScenario& loaded) {
  const DecodedScenario& s = loaded.scenario;
  const CompiledTable* table = s.table ? &*s.table : nullptr;
  const std::vector<Cell>* cells = s.cells ? &*s.cells : nullptr;
  Json j;
  Json files = Json::object();
  if (loaded.paths.cells) files["cells"] = {{"path", *loaded.paths.cells}, {"bytes", *loaded.cell_bytes}};
  if (loaded.paths.table) files["table"] = {{"path", *loaded.paths.table}, {"bytes", *loaded.table_bytes}};
  if (loaded.paths.line_plan) {
    files["line_plan"] = {{"path", *loaded.paths.line_plan}, {"bytes", *loaded.line_plan_bytes}};
  }
  j["files"] = files;
  Json checks = Json::array();
  for (const MarkCheck& check : check_marks(s)) {
    checks.push_back({{"what", check.what}, {"found", check.found}, {"expected", check.expected}, {"ok", check.ok()}});
  }
  j["checks"] = checks;

  Json stations = Json::array();
  Json boards = Json::array();
  Json records = Json::array();
  if (table != nullptr) {
    const TableRecord& train = (*table)[kTrainRecord];
    const TableRecord& number = (*table)[kTrainNumberRecord];
    const TableRecord& scenario = (*table)[kScenarioRecord];
    j["scenario"] = {{"name", utf8(scenario.text)}, {"train_number", utf8(number.text)}};
    j["train"] = {
        {"route_length_m", train.end},
        {"braked_mass_percent", train.start},
        {"cars", train.position},
        {"sand", number.word1},
        {"clock", clock_text((number.word3 * 60 + number.word4) * 60 + number.word5)},
        {"signal_repetition", {{"start_m", number.start}, {"end_m", number.end}, {"code_system", number.position}}},
        {"backgrounds", {scenario.start, scenario.position, scenario.end}}};
    const std::array<RecordRole, kTableRecords> roles = record_roles(*table);
    for (int i = 0; i < kTableRecords; ++i) {
      const TableRecord& r = (*table)[static_cast<size_t>(i)];
      const RecordRole role = roles[static_cast<size_t>(i)];
      records.push_back(record_json(i, r, role));
      if (role == RecordRole::station) {
        stations.push_back({{"record", i},
                            {"name", utf8(r.text)},
                            {"position_m", r.position},
                            {"start_m", r.start},
                            {"end_m", r.end},
                            {"length_m", station_length_m(r)},
                            {"kind", r.kind},
                            {"stop_s", r.byte2},
                            {"time", r.time == 0 ? Json(nullptr) : Json(clock_text(r.time))},
                            {"time_s", r.time}});
      }
    }
    for (int i = kSignFloorStart; i >= 0; --i) {
      if (roles[static_cast<size_t>(i)] != RecordRole::board_text) continue;
      const std::vector<int32_t> shown = cells_showing(cells, i);
      Json board = {{"record", i}, {"text", utf8((*table)[static_cast<size_t>(i)].text)}, {"cells", shown}};
      board["position_m"] = shown.empty() ? Json(nullptr) : Json(marker_source_position_m(shown.front(), kSignBoard));
      boards.push_back(board);
    }
    Json references = Json::array();
    for (const KmReference& r : km_references(*table)) {
      references.push_back(
          {{"record", r.record}, {"from_m", r.from_m}, {"value_m", r.value_m}, {"falling", r.falling}});
    }
    j["km_references"] = references;
  }
  j["stations"] = stations;
  j["boards"] = boards;
  j["records"] = records;
  j["plan"] = s.plan ? plan_json(*s.plan) : Json(nullptr);
  Json cell_list = Json::array();
  if (cells != nullptr) {
    for (size_t k = 0; k < cells->size(); ++k) cell_list.push_back(cell_json(k, (*cells)[k], table));
  }
  j["cells"] = cell_list;
  return j;
}

}  // namespace

int run_inspect(const InspectRequest& request) {
  try {
    const LoadedScenario loaded = load_compiled_scenario(request.paths);
    if (request.json) {
      std::cout << scenario_json(loaded).dump(1) << "\n";
    } else {
      std::ostringstream text;
      print_text(text, loaded);
      std::cout << text.str();
    }
    std::cout.flush();
    return 0;
  } catch (const UnreadableScenario& e) {
    std::fprintf(stderr, "scenario_tool: %s\n", e.what());
    return 2;
  }
}

void add_inspect_command(CLI::App& app, int& status) {
  auto request = std::make_shared<InspectRequest>();
  CLI::App* inspect = app.add_subcommand("inspect", "show what a compiled scenario holds, by meaning");
  inspect->footer(
      "PATH is a folder holding a compiled scenario, or its files themselves: the cell file\n"
      "(<name>_<train>.dat), the table file (<name>_<train>.sim) and the line plan file (<name>_linea.dat).\n"
      "The report shows the stations, sign boards, kilometre references, train data, the plan's shape and\n"
      "every cell by what stands there (runs of identical cells folded), and whether the stamps and\n"
      "identity codes check. Exit status: 0 shown; 2 a file is missing, damaged or not a compiled file.");
  inspect->add_option("PATH", request->paths, "a compiled scenario's folder or files")->required();
  inspect->add_flag("--json", request->json, "one JSON object instead of text (every cell in full)");
  inspect->callback([request, &status] { status = run_inspect(*request); });
}

}  // namespace scenario
