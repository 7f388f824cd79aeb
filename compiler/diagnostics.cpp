#include "compiler/diagnostics.h"

#include <algorithm>

#include "source/windows1252.h"

namespace scenario {
namespace {

// A source line longer than this is shown as a stretch around the field.
constexpr size_t kShownBytes = 160;
constexpr size_t kShownBefore = 40;  // bytes kept before the field when the line is cut
constexpr size_t kGutterDigits = 5;

// The bytes of line `number` (1-based), without its line end; none past the last line.
std::optional<std::string_view> line_of(std::string_view text, int number) {
  size_t start = 0;
  for (int line = 1; line < number; ++line) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) return std::nullopt;
    start = end + 1;
    // A carriage return and a line feed end one line together.
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  if (start >= text.size()) return std::nullopt;
  const size_t end = text.find_first_of("\r\n", start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// One display column a byte: tabs stay (so the caret line can copy them) and
// other control bytes show as "?".
std::string shown_bytes(std::string_view bytes) {
  std::string shown;
  for (char c : bytes) shown += (static_cast<unsigned char>(c) < 0x20 && c != '\t') ? '?' : c;
  return cp1252_to_utf8(shown);
}

// The blanks under a stretch of the line: tabs where the line has them.
std::string padding_under(std::string_view bytes) {
  std::string pad;
  for (char c : bytes) pad += c == '\t' ? '\t' : ' ';
  return pad;
}

std::string gutter(std::string_view label) {
  std::string text(kGutterDigits > label.size() ? kGutterDigits - label.size() : 0, ' ');
  return text + std::string(label) + " | ";
}

// The field starting at `at`: up to the next comma or the line's end, blanks at its end left out.
size_t field_length(std::string_view line, size_t at) {
  size_t end = line.find(',', at);
  if (end == std::string_view::npos) end = line.size();
  while (end > at && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
  return std::max<size_t>(end - at, 1);
}

void show_line(std::string& out, std::string_view line, int number, int column, const DiagnosticStyle& style) {
  size_t at = std::min(static_cast<size_t>(std::max(column, 1) - 1), line.size());
  size_t first = 0;
  std::string lead;
  if (line.size() > kShownBytes && at > kShownBytes - kShownBefore) {
    first = at - kShownBefore;
    lead = "...";
  }
  const std::string_view shown = line.substr(first, kShownBytes);
  const std::string tail = first + shown.size() < line.size() ? "..." : "";
  at -= first;

  out += gutter(std::to_string(number)) + lead + shown_bytes(shown) + tail + "\n";
  const size_t underline = std::min(field_length(shown, at), std::max<size_t>(shown.size(), at + 1) - at);
  out += gutter("") + std::string(lead.size(), ' ') + padding_under(shown.substr(0, at)) + std::string(style.caret) +
         "^" + std::string(underline - 1, '~') + std::string(style.reset) + "\n";
}

}  // namespace

std::string_view severity_name(Severity severity) { return severity == Severity::error ? "error" : "warning"; }

size_t count_of(const std::vector<Diagnostic>& diagnostics, Severity severity) {
  return static_cast<size_t>(std::count_if(diagnostics.begin(), diagnostics.end(),
                                           [severity](const Diagnostic& d) { return d.severity == severity; }));
}

std::string render_diagnostic(const Diagnostic& diagnostic, const ShownSource& source, const DiagnosticStyle& style) {
  std::string where(source.path);
  if (diagnostic.place) {
    where += ":" + std::to_string(diagnostic.place->line) + ":" + std::to_string(diagnostic.place->column);
  }
  std::string out = std::string(style.place) + where + ":" + std::string(style.reset) + " ";
  if (diagnostic.severity == Severity::error) {
    out += std::string(style.error) + "error " + std::to_string(number_of(diagnostic.code)) + ":" +
           std::string(style.reset);
  } else {
    out += std::string(style.warning) + "warning:" + std::string(style.reset);
  }
  out += " " + diagnostic.message + "\n";

  if (diagnostic.place) {
    if (const auto line = line_of(source.text, diagnostic.place->line)) {
      show_line(out, *line, diagnostic.place->line, diagnostic.place->column, style);
    }
  }
  if (diagnostic.position_m) {
    out += std::string(kGutterDigits + 1, ' ') + "= at " + std::to_string(*diagnostic.position_m) + " m";
    if (diagnostic.cell) out += ", cell " + std::to_string(*diagnostic.cell);
    out += "\n";
  }
  return out;
}

}  // namespace scenario
