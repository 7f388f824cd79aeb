#pragma once

// What an author is told about the sources: every build error at the record
// that caused it, and warnings for what the format asks but the compile does
// not check. Diagnostics never change the compiled route or its build error
// record; they only describe them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/build_errors.h"

namespace scenario {

enum class Severity : uint8_t { error, warning };

std::string_view severity_name(Severity severity);  // "error", "warning"

struct Diagnostic {
  SourceFile source = SourceFile::none;
  std::optional<SourcePlace> place;  // the field it is about; none for a whole source
  Severity severity = Severity::warning;
  BuildErrorCode code = BuildErrorCode::none;  // the build error an error stands for
  std::string message;                         // UTF-8; an error's begins with the meaning of its number
  std::optional<int32_t> position_m;           // where on the route the record lands
  std::optional<int32_t> cell;                 // the cell it lands in

  bool operator==(const Diagnostic&) const = default;
};

size_t count_of(const std::vector<Diagnostic>& diagnostics, Severity severity);

// A source as the author knows it: the path they gave and the bytes read from it.
struct ShownSource {
  std::string_view path;
  std::string_view text;  // Windows-1252
};

// Escape texts around the parts of a diagnostic; all empty for plain text.
struct DiagnosticStyle {
  std::string_view place;
  std::string_view error;
  std::string_view warning;
  std::string_view caret;
  std::string_view reset;
};

// "PATH:LINE:COL: error N: MESSAGE" (or "warning: MESSAGE"), then the source
// line with a caret under the field, then "= at P m, cell C" when the record
// lands on the route. Every line ends with "\n".
std::string render_diagnostic(const Diagnostic& diagnostic, const ShownSource& source,
                              const DiagnosticStyle& style = {});

}  // namespace scenario
