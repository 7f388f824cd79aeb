#include "tools/diff_command.h"

#include <CLI/CLI.hpp>
#include <bit>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <memory>
#include <vector>

#include "compiler/compiled_meaning.h"
#include "source/windows1252.h"
#include "tools/compiled_files.h"
#include "tools/report_text.h"

namespace scenario {
namespace {

using std::to_string;

constexpr const char* kArrow = " → ";

// The differences in the order found, each one line.
class Differences {
 public:
  void add(std::string line) { lines_.push_back(std::move(line)); }
  bool empty() const { return lines_.empty(); }
  void print(std::ostream& out, size_t limit) const {
    const size_t shown = limit == 0 ? lines_.size() : std::min(limit, lines_.size());
    for (size_t i = 0; i < shown; ++i) out << lines_[i] << "\n";
    if (shown < lines_.size()) {
      out << "... and " << lines_.size() - shown << " more differences (--limit 0 shows all)\n";
    }
  }

 private:
  std::vector<std::string> lines_;
};

std::string quoted(const std::string& cp1252_bytes) { return "\"" + cp1252_to_utf8(cp1252_bytes) + "\""; }

void compare_cells(const std::vector<Cell>& a, const std::vector<Cell>& b, Differences& out) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t k = 0; k < common; ++k) {
    const std::string place =
        "cell " + to_string(k) + " (" + cell_metres(static_cast<int64_t>(k), static_cast<int64_t>(k)) + ")";
    for (const CellField& field : cell_fields()) {
      const int32_t before = field.get(a[k]);
      const int32_t after = field.get(b[k]);
      if (before != after) {
        out.add(place + ": " + std::string(field.name) + " " + field.show(before) + kArrow + field.show(after));
      }
    }
  }
  if (a.size() != b.size()) {
    const std::vector<Cell>& longer = a.size() > b.size() ? a : b;
    out.add("cells: 0 to " + to_string(a.size() - 1) + kArrow + "0 to " + to_string(b.size() - 1) + "; cells " +
            to_string(common) + " to " + to_string(longer.size() - 1) + " only in " +
            (a.size() > b.size() ? "A" : "B"));
  }
}

std::string record_place(int index, RecordRole role, const TableRecord& record) {
  std::string place = "record " + to_string(index) + " (" + std::string(role_name(role));
  if ((role == RecordRole::station || role == RecordRole::board_text) && !record.text.empty()) {
    place += " " + cp1252_to_utf8(record.text);
  }
  return place + ")";
}

void compare_tables(const CompiledTable& a, const CompiledTable& b, Differences& out) {
  const std::array<RecordRole, kTableRecords> roles_a = record_roles(a);
  const std::array<RecordRole, kTableRecords> roles_b = record_roles(b);
  for (int i = 0; i < kTableRecords; ++i) {
    const size_t at = static_cast<size_t>(i);
    // A record cleared on one side is named by what it is on the other.
    const bool from_b = roles_a[at] == RecordRole::cleared;
    const RecordRole role = from_b ? roles_b[at] : roles_a[at];
    const std::string place = record_place(i, role, from_b ? b[at] : a[at]);
    for (const RecordField& field : record_number_fields()) {
      const int32_t before = field.get(a[at]);
      const int32_t after = field.get(b[at]);
      if (before == after) continue;
      out.add(place + ": " + std::string(record_field_name(role, field.name)) + " " +
              show_record_field(role, field.name, before) + kArrow + show_record_field(role, field.name, after));
    }
    if (a[at].text != b[at].text) {
      out.add(place + ": " + std::string(record_field_name(role, "text")) + " " + quoted(a[at].text) + kArrow +
              quoted(b[at].text));
    }
  }
}

std::string entry_text(const DecodedPlanEntry& entry) {
  if (entry.tag == kPlanTagEmpty) return "empty";
  char number[64];
  const auto written = std::to_chars(number, number + sizeof number, entry.value);
  const std::string value(number, written.ptr);
  return entry.tag == kPlanTagInt16 ? "integer " + value : value;
}

// Equal as stored: the same tag and the same bits (a NaN equals itself, -0 differs from 0).
bool same_entry(const DecodedPlanEntry& a, const DecodedPlanEntry& b) {
  return a.tag == b.tag && std::bit_cast<uint64_t>(a.value) == std::bit_cast<uint64_t>(b.value);
}

void compare_plans(const DecodedPlan& a, const DecodedPlan& b, Differences& out) {
  const int32_t common = std::min(a.last_metre, b.last_metre);
  for (int coordinate = 0; coordinate < 2; ++coordinate) {
    for (int32_t m = 0; m <= common; ++m) {
      const DecodedPlanEntry& before = a.at(m, coordinate);
      const DecodedPlanEntry& after = b.at(m, coordinate);
      if (same_entry(before, after)) continue;
      out.add("plan metre " + to_string(m) + ", " + (coordinate == 0 ? "first" : "second") +
              " coordinate: " + entry_text(before) + kArrow + entry_text(after));
    }
  }
  if (a.last_metre != b.last_metre) {
    out.add("plan: metres 0 to " + to_string(a.last_metre) + kArrow + "0 to " + to_string(b.last_metre));
  }
}

template <typename T, typename Compare>
void compare_part(const std::optional<T>& a, const std::optional<T>& b, std::string_view file, Compare compare,
                  Differences& out) {
  if (a && b) {
    compare(*a, *b, out);
  } else if (a || b) {
    out.add(std::string(file) + ": only in " + (a ? "A" : "B"));
  }
}

}  // namespace

int run_diff(const DiffRequest& request) {
  LoadedScenario a, b;
  try {
    a = load_compiled_scenario({request.first});
    b = load_compiled_scenario({request.second});
  } catch (const UnreadableScenario& e) {
    std::fprintf(stderr, "scenario_tool: %s\n", e.what());
    return 2;
  }
  const auto holds = [](const DecodedScenario& s) {
    return std::array<bool, 3>{s.table.has_value(), s.cells.has_value(), s.plan.has_value()};
  };
  const std::array<bool, 3> in_a = holds(a.scenario), in_b = holds(b.scenario);
  if (!((in_a[0] && in_b[0]) || (in_a[1] && in_b[1]) || (in_a[2] && in_b[2]))) {
    std::fprintf(stderr, "scenario_tool: %s and %s hold no compiled file of the same kind to compare\n",
                 request.first.c_str(), request.second.c_str());
    return 2;
  }
  Differences differences;
  compare_part(a.scenario.table, b.scenario.table, "table file", compare_tables, differences);
  compare_part(a.scenario.cells, b.scenario.cells, "cell file", compare_cells, differences);
  compare_part(a.scenario.plan, b.scenario.plan, "line plan file", compare_plans, differences);
  differences.print(std::cout, request.limit);
  std::cout.flush();
  return differences.empty() ? 0 : 1;
}

void add_diff_command(CLI::App& app, int& status) {
  auto request = std::make_shared<DiffRequest>();
  CLI::App* diff = app.add_subcommand("diff", "compare two compiled scenarios field by field");
  diff->footer(
      "A and B are each a folder holding a compiled scenario, or compiled files of the same kind. Every\n"
      "differing field is one line, named by its cell (with its metres) or record (with its role), e.g.\n"
      "  cell 300 (15000..15049 m): mountain type 0 → 1\n"
      "  record 2 (station PIANVERDE): stop 60 s → 30 s\n"
      "Exit status: 0 equal; 1 they differ; 2 a file is missing, damaged or not a compiled file.");
  diff->add_option("A", request->first, "the first compiled scenario (folder or file)")->required();
  diff->add_option("B", request->second, "the second compiled scenario (folder or file)")->required();
  diff->add_option("--limit", request->limit, "show at most this many differences; 0 shows all")->capture_default_str();
  diff->callback([request, &status] { status = run_diff(*request); });
}

}  // namespace scenario
