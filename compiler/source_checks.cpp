#include "compiler/source_checks.h"

#include <algorithm>
#include <utility>

#include "compiler/arithmetic.h"
#include "source/field_reader.h"
#include "source/windows1252.h"

namespace scenario {
namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Edits between two texts, a swap of neighbours counting as one.
size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// How many edits still make a near miss of a keyword of this length.
size_t edits_allowed(size_t length) { return length <= 4 ? 1 : length <= 8 ? 2 : 3; }

std::string_view source_name(SourceFile source) {
  return source == SourceFile::line ? "line source" : source == SourceFile::train ? "train source" : "sources";
}

std::string_view marker_name(uint8_t marker) {
  switch (marker) {
    case kSignal:
      return "a signal";
    case kSlowdownEnd:
      return "a slowdown end board";
    case kSlowdownStart:
      return "a slowdown start board";
    case kSlowdownWarning:
      return "a slowdown warning board";
    case kOrientationBoard:
      return "a slowdown orientation board";
    case kSpeedBoard:
      return "a speed-limit indicator board";
    case kStopPoint:
      return "a station stop point";
    case kMountainMarker:
      return "a mountain section marker";
    case kCodePoint:
      return "a code point";
    case kCodeOffPoint:
      return "a code-off point";
    case kSignBoard:
      return "a sign board";
    default:
      return "a marker";
  }
}

bool is_blank_line(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// The lines of a text with where each begins; a carriage return, a line feed
// or both end a line, as the field reader counts them.
std::vector<std::pair<int, std::string_view>> lines_of(std::string_view text) {
  std::vector<std::pair<int, std::string_view>> lines;
  size_t start = 0;
  int number = 1;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(number, text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == '\r') {
      ++start;
      if (start < text.size() && text[start] == '\n') ++start;
    } else if (start < text.size()) {
      ++start;
    }
    ++number;
  }
  return lines;
}

}  // namespace

std::optional<std::string_view> closest_keyword(std::string_view field, std::span<const std::string_view> candidates) {
  // A field far longer than any keyword misspells none of them.
  constexpr size_t kLongestNearMiss = 40;
  const std::string typed = lower_case(field);
  if (typed.empty() || typed.size() > kLongestNearMiss) return std::nullopt;
  std::optional<std::string_view> best;
  size_t best_edits = 0;
  for (const std::string_view candidate : candidates) {
    const std::string wanted = lower_case(candidate);
    const size_t edits = edit_distance(typed, wanted);
    if (edits <= edits_allowed(wanted.size()) && (!best || edits < best_edits)) {
      best = candidate;
      best_edits = edits;
    }
  }
  if (best) return best;
  // One word of a keyword of several, as "massa" of "percentuale massa frenata".
  if (typed.size() >= 4) {
    for (const std::string_view candidate : candidates) {
      if (contains(lower_case(candidate), typed)) return candidate;
    }
  }
  return std::nullopt;
}

std::string lower_case(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), lower);
  return out;
}

bool names_line_general_record(std::string_view field) {
  const auto has = [field](std::string_view key) { return contains_any_case(field, key); };
  return (has("percorso") && has("lunghezza")) || (has("progressiva") && (has("uno") || has("due") || has("tre"))) ||
         (has("sfondo") && (has("uno") || has("due") || has("tre"))) || (has("segnali") && has("ripetizione"));
}

bool names_line_body_record(std::string_view field) {
  const auto has = [field](std::string_view key) { return contains_any_case(field, key); };
  return has("pendenza") || has("curva") || has("montagna") || has("indicatori_v") ||
         (has("cartello") && has("indicat"));
}

bool names_train_record(std::string_view field) {
  const auto has = [field](std::string_view key) { return contains_any_case(field, key); };
  return (has("frenata") && has("massa")) || has("vetture") || has("velocit") || has("aderenza") || has("orologio") ||
         has("sabbia") || has("segnale") || has("rallentamento") || has("abbattimento") || has("stazione");
}

bool looks_like_number(std::string_view field) {
  const std::string_view digits =
      !field.empty() && (field.front() == '-' || field.front() == '+') ? field.substr(1) : field;
  return !digits.empty() &&
         std::all_of(digits.begin(), digits.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

std::string did_you_mean(std::string_view field, std::span<const std::string_view> candidates) {
  const auto candidate = closest_keyword(field, candidates);
  return candidate ? "; did you mean \"" + std::string(*candidate) + "\"?" : "";
}

void KeywordFields::selects(const std::string& field, SourcePlace place, bool read) {
  keyword_ = cp1252_to_utf8(field);
  place_ = place;
  if (contains(field, "[") && contains(field, "]")) {
    shared_.warn(source_, place,
                 "section header \"" + keyword_ + "\" holds a record's keyword and is read as that record, with the " +
                     "values after it");
  }
  reading_record_ = read;
  if (read) {
    record_line_ = place.line;
  } else {
    passed_line_ = place.line;
  }
}

bool KeywordFields::needs_naming(const std::string& field, SourcePlace place) {
  if (field.empty() || is_comment(field) || place.line == passed_line_) return false;
  const std::string shown = cp1252_to_utf8(field);
  if (contains(field, "[") && contains(field, "]")) {
    const bool known = std::any_of(headers_.begin(), headers_.end(),
                                   [&](std::string_view header) { return lower_case(field) == header; });
    if (!known) {
      warn_and_pass_line("section header \"" + shown + "\" names no section of the " +
                             std::string(source_name(source_)) + did_you_mean(field, headers_),
                         place);
    }
    return false;
  }
  if (place.line == record_line_) {
    warn_and_pass_line("\"" + shown + "\" is a field too many for the " + keyword_ +
                           " record on this line: it is read where a keyword belongs, and passed over",
                       place);
    return false;
  }
  if (looks_like_number(field)) {
    warn_and_pass_line("the line begins with the value \"" + shown + "\" where a keyword belongs: it is passed over",
                       place);
    return false;
  }
  return true;
}

void KeywordFields::warn_and_pass_line(const std::string& message, SourcePlace place) {
  shared_.warn(source_, place, message);
  passed_line_ = place.line;
}

void KeywordFields::values_read(SourcePlace last_value) {
  if (!reading_record_) return;
  reading_record_ = false;
  if (last_value.line <= place_.line) return;
  shared_.warn(source_, place_,
               "the " + keyword_ + " record has fewer values than it takes: its reading ran on into line " +
                   std::to_string(last_value.line) + " and took fields from there");
  passed_line_ = last_value.line;
}

std::string metres(int64_t value) { return std::to_string(value) + " m"; }

std::string multiples_around(int32_t value, int32_t step) {
  const int64_t below = int64_t{value} - ((int64_t{value} % step) + step) % step;
  return std::to_string(below) + " or " + std::to_string(below + step);
}

int32_t cell_holding(int32_t position) { return static_cast<int32_t>(nearest_even(position / 50.0)); }

void RecordChecks::before_general_section(SourcePlace first_field) {
  shared_.warn(source_, first_field, "the text before \"[generale]\" is not read");
}

void RecordChecks::warn(const std::string& message, std::optional<int32_t> position_m, std::optional<int32_t> cell) {
  shared_.warn(source_, fields_.place(), message, position_m, cell);
}

void RecordChecks::error(BuildErrorCode code, const std::string& detail, std::optional<int32_t> position_m,
                         std::optional<int32_t> cell) {
  shared_.error(code, source_, fields_.place(), detail, position_m, cell);
}

std::string RecordChecks::record_at(int64_t position) const {
  return "the " + fields_.keyword() + " at " + metres(position);
}

void RecordChecks::cell_taken(BuildErrorCode code, int32_t position, int64_t cell) {
  error(code, "cell " + std::to_string(cell) + " already holds " + shared_.holder_of(model_, cell, source_), position,
        static_cast<int32_t>(cell));
}

void RecordChecks::placed_at(int32_t position, int64_t cell) {
  shared_.placed(cell, source_, fields_.place());
  check_off_grid("position", position, position, static_cast<int32_t>(cell));
  check_past_end(position, position, static_cast<int32_t>(cell));
}

void RecordChecks::check_off_grid(const std::string& what, int32_t value, int32_t position,
                                  std::optional<int32_t> cell) {
  if (value % kCellLength == 0) return;
  warn(what + " " + metres(value) + " is not a multiple of 50: the route is kept in cells of 50 m; write " +
           multiples_around(value, kCellLength),
       position, cell);
}

void RecordChecks::check_past_end(int32_t start, int64_t end, std::optional<int32_t> cell) {
  const int32_t line_end = model_.table[kTrainRecord].end;
  if (start > line_end) {
    warn(record_at(start) + " lies past the end of the line at " + metres(line_end), start, cell);
  } else if (end > line_end) {
    warn(record_at(start) + " runs to " + metres(end) + ", past the end of the line at " + metres(line_end), start,
         cell);
  }
}

std::string line_reference(const RecordRef& record, SourceFile asking) {
  std::string text = "line " + std::to_string(record.place.line);
  if (record.source != asking) text += " of the " + std::string(source_name(record.source));
  return text;
}

void SourceChecks::warn(SourceFile source, std::optional<SourcePlace> place, std::string message,
                        std::optional<int32_t> position_m, std::optional<int32_t> cell) {
  out_.push_back(
      Diagnostic{source, place, Severity::warning, BuildErrorCode::none, std::move(message), position_m, cell});
}

void SourceChecks::error(BuildErrorCode code, SourceFile source, std::optional<SourcePlace> place,
                         const std::string& detail, std::optional<int32_t> position_m, std::optional<int32_t> cell) {
  std::string message(build_error_meaning(code));
  if (!detail.empty()) message += ": " + detail;
  out_.push_back(Diagnostic{source, place, Severity::error, code, std::move(message), position_m, cell});
}

void SourceChecks::check_text(SourceFile source, std::string_view text) {
  const auto lines = lines_of(text);
  if (std::all_of(lines.begin(), lines.end(), [](const auto& line) { return is_blank_line(line.second); })) {
    empty_[static_cast<size_t>(source)] = true;
    warn(source, std::nullopt,
         "the " + std::string(source_name(source)) + " is empty: it holds no \"[generale]\" and no record");
    return;
  }

  for (const auto& [number, line] : lines) {
    const auto first =
        std::find_if(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (first == line.end() || !is_valid_utf8(line)) continue;
    // The first character written in UTF-8, and what its bytes read as in Windows-1252.
    const auto at = static_cast<size_t>(first - line.begin());
    size_t end = at + 1;
    while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) ++end;
    const std::string_view character = line.substr(at, end - at);
    const bool byte_order_mark = number == 1 && at == 0 && character == "\xEF\xBB\xBF";
    warn(source, SourcePlace{number, static_cast<int>(at) + 1},
         byte_order_mark
             ? "the file begins with a UTF-8 byte-order mark, read as the text \"" + cp1252_to_utf8(character) +
                   "\"; save the file as Windows-1252, without it"
             : "this line is written in UTF-8, but a source is read as Windows-1252: \"" + std::string(character) +
                   "\" is stored as \"" + cp1252_to_utf8(character) + "\"; save the file as Windows-1252");
  }

  const auto last =
      std::find_if(lines.rbegin(), lines.rend(), [](const auto& line) { return !is_blank_line(line.second); });
  const std::string_view last_line = last->second;
  const size_t begins = last_line.find_first_not_of(" \t");
  const size_t ends = last_line.find_last_not_of(" \t");
  if (lower_case(last_line.substr(begins, ends - begins + 1)) != "[fine]") {
    warn(source, SourcePlace{last->first, static_cast<int>(begins) + 1},
         "the source does not end with a \"[fine]\" line: end it with one, so that no record is the last field of "
         "the file, which is never read as a record");
  }
}

void SourceChecks::read_failure(SourceFile source, const InputError& failure) {
  // The failure quotes the source's own bytes.
  std::string detail = cp1252_to_utf8(failure.what());
  std::optional<SourcePlace> place = failure.place();
  const auto& record = failure.record_place();
  // What failed on a later line is still this record's fault: it ran short of values.
  if (place && record && place->line > record->line) {
    detail += " on line " + std::to_string(place->line) +
              ": this record has fewer values than it takes, so its reading ran on into the lines after it";
    place = record;
  }
  error(BuildErrorCode::read_failure, source, place, detail);
}

void SourceChecks::train_source_not_read(const BuildError& error) {
  warn(
      SourceFile::train, std::nullopt,
      "the train source is not read: the line source stopped the reading with error " + std::to_string(error.number()));
}

void SourceChecks::derived_code_point_failed(const RouteModel& model, const BuildError& failure) {
  const int32_t cell = failure.position / kCellLength;
  std::optional<RecordRef> record = placed_by(cell);
  std::string detail;
  switch (failure.code) {
    case BuildErrorCode::no_code_point_before_signal:
      detail = "the signal in cell " + std::to_string(cell) +
               " stands within 1000 m before a slowdown warning board and needs a code point in cell " +
               std::to_string(cell - 1) + " or " + std::to_string(cell - 2) + ", but both are taken";
      break;
    case BuildErrorCode::no_code_point_before_slowdown:
      detail = "the slowdown whose start board stands in cell " + std::to_string(cell) +
               " needs a code point in each group of three cells 250, 550 and 900 m before it, but one group is "
               "all taken";
      break;
    default:
      if (model.cells[static_cast<size_t>(cell)].marker == kSlowdownEnd) {
        detail = "the first signal after the slowdown that ends in cell " + std::to_string(cell) +
                 " needs a code point in one of the two cells before it, but both are taken";
      } else {
        detail = "the slowdown needs a code point every 400 m along it, but cell " + std::to_string(cell) +
                 " and the cells on either side are taken";
        // The slowdown whose walk reached this cell started at the nearest start board before it.
        for (int32_t back = cell; back >= 0 && !record; --back) {
          if (model.cells[static_cast<size_t>(back)].marker == kSlowdownStart) record = placed_by(back);
        }
      }
      break;
  }
  error(failure.code, record ? record->source : SourceFile::none,
        record ? std::optional<SourcePlace>(record->place) : std::nullopt, detail, failure.position, cell);
}

void SourceChecks::reserved_slot_used(const RouteModel& model, BuildErrorCode fatal) {
  const std::optional<RecordRef> record = placed_by(1);
  std::string detail;
  if (record) {
    detail = "this record puts " + std::string(marker_name(model.cells.at(1).marker)) +
             " into cell 1, whose values the compiler keeps for its own stamps; move it beyond the first 75 m";
  } else {
    detail = fatal == BuildErrorCode::stamp_slot_used ? "value 1 of cell 1 or word 1 of record 85 is set"
                                                      : "value 2 of cell 1 or the time of record 85 is set";
  }
  error(fatal, record ? record->source : SourceFile::none,
        record ? std::optional<SourcePlace>(record->place) : std::nullopt, detail);
}

void SourceChecks::placed(int64_t cell, SourceFile source, SourcePlace place) { placed_[cell] = {source, place}; }

std::optional<RecordRef> SourceChecks::placed_by(int64_t cell) const {
  const auto found = placed_.find(cell);
  if (found == placed_.end()) return std::nullopt;
  return found->second;
}

std::string SourceChecks::holder_of(const RouteModel& model, int64_t cell, SourceFile asking) const {
  std::string text(marker_name(model.cells.at(static_cast<size_t>(cell)).marker));
  if (const auto record = placed_by(cell)) text += " (" + line_reference(*record, asking) + ")";
  return text;
}

}  // namespace scenario
