#include "tools/diagnostic_output.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/terminal.h"

namespace scenario {
namespace {

// Colour only for a person at a terminal who has not asked for none (no-color.org).
bool in_colour() {
  const char* no_color = std::getenv("NO_COLOR");
  return standard_error_is_terminal() && (no_color == nullptr || *no_color == '\0');
}

constexpr DiagnosticStyle kColours{"\x1b[1m", "\x1b[1;31m", "\x1b[1;35m", "\x1b[1;32m", "\x1b[0m"};

// A diagnostic that names no source is the tool's own word about the route.
ShownSource shown_source(const Diagnostic& diagnostic, const AuthorSources& sources) {
  switch (diagnostic.source) {
    case SourceFile::line:
      return {sources.line_path, sources.line_text};
    case SourceFile::train:
      return {sources.train_path, sources.train_text};
    default:
      return {"scenario_tool", ""};
  }
}

std::string plural(size_t count, const std::string& noun) {
  return (count == 0 ? "no" : std::to_string(count)) + " " + noun + (count == 1 ? "" : "s");
}

size_t cells_holding(const RouteModel& model, uint8_t marker) {
  return static_cast<size_t>(std::count_if(model.cells.begin(), model.cells.end(),
                                           [marker](const Cell& cell) { return cell.marker == marker; }));
}

}  // namespace

void print_diagnostics(const std::vector<Diagnostic>& diagnostics, const AuthorSources& sources) {
  const DiagnosticStyle style = in_colour() ? kColours : DiagnosticStyle{};
  for (const Diagnostic& diagnostic : diagnostics) {
    std::fputs(render_diagnostic(diagnostic, shown_source(diagnostic, sources), style).c_str(), stderr);
  }
  std::fflush(stderr);
}

std::string diagnostics_json(const std::vector<Diagnostic>& diagnostics, const AuthorSources& sources) {
  using json = nlohmann::ordered_json;
  json list = json::array();
  for (const Diagnostic& d : diagnostics) {
    const bool named = d.source == SourceFile::line || d.source == SourceFile::train;
    list.push_back({
        {"file", named ? json(d.source == SourceFile::line ? sources.line_path : sources.train_path) : json(nullptr)},
        {"line", d.place ? json(d.place->line) : json(nullptr)},
        {"column", d.place ? json(d.place->column) : json(nullptr)},
        {"severity", std::string(severity_name(d.severity))},
        {"code", d.severity == Severity::error ? json(number_of(d.code)) : json(nullptr)},
        {"message", d.message},
        {"position_m", d.position_m ? json(*d.position_m) : json(nullptr)},
    });
  }
  // Paths are the author's own bytes; whatever is not UTF-8 in them must not stop the report.
  return list.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string count_text(const std::vector<Diagnostic>& diagnostics) {
  return plural(count_of(diagnostics, Severity::error), "error") + ", " +
         plural(count_of(diagnostics, Severity::warning), "warning");
}

std::string compile_summary(const Compilation& compilation, size_t files_written, const std::string& folder) {
  const RouteModel& model = compilation.model;
  return "compiled: route " + std::to_string(model.table[kTrainRecord].end) + " m in " +
         std::to_string(model.cells.size()) + " cells, " +
         plural(static_cast<size_t>(compilation.stations), "station") + ", " +
         plural(cells_holding(model, kSignal), "signal") + ", " +
         plural(cells_holding(model, kSignBoard), "sign board") + ", " +
         plural(cells_holding(model, kSpeedBoard), "speed-limit board") + "; " + plural(files_written, "file") +
         " written to " + folder;
}

}  // namespace scenario
