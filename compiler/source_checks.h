#pragma once

// What the checks of both sources share: the diagnostics they add to, which
// record put each marker into the cells (so a record refused for its cell can
// name the one already there), and the kilometre references as the line source
// wrote them (the train half finds their error 2).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compiler/build_errors.h"
#include "compiler/diagnostics.h"
#include "compiler/route_model.h"
#include "source/input_error.h"

namespace scenario {

// Keywords and headers as a writer spells them: what a near miss is compared
// with, and how a message names a record.
inline constexpr std::string_view kLineGeneralKeywords[] = {
    "lunghezza percorso",
    "progressiva chilometrica uno",
    "progressiva chilometrica due",
    "progressiva chilometrica tre",
    "sfondo uno",
    "sfondo due",
    "sfondo tre",
    "ripetizione segnali 4 codici",
    "ripetizione segnali 9 codici",
};
inline constexpr std::string_view kLineBodyKeywords[] = {
    "pendenza", "curvas1", "curvas2", "curvas3", "curvas4", "curvas5",  "curvas6",         "curvad1",
    "curvad2",  "curvad3", "curvad4", "curvad5", "curvad6", "montagna", "indicatori_vmax", "cartello_indicatore",
};
inline constexpr std::string_view kLineHeaders[] = {"[generale]", "[curve]",       "[pendenze]", "[montagne]",
                                                    "[cartelli]", "[indicazioni]", "[fine]"};
inline constexpr std::string_view kTrainKeywords[] = {
    "numero vetture", "percentuale massa frenata",
    "sabbia",         "orologio",
    "aderenza",       "velocita",
    "stazione",       "rallentamento",
    "segnale",        "abbattimento",
};
inline constexpr std::string_view kTrainHeaders[] = {"[generale]",      "[aderenze]", "[vel_limite]", "[stazioni]",
                                                     "[rallentamenti]", "[segnali]",  "[codici]",     "[fine]"};

// The candidate a field most likely misspells: within a few edits (a letter
// left out, added, changed or two swapped), or the whole keyword the field is
// a word of; none when nothing is close.
std::optional<std::string_view> closest_keyword(std::string_view field, std::span<const std::string_view> candidates);

// Whether a field names a record of each group, letter case aside: where a
// field that the reader passes over belongs instead.
bool names_line_general_record(std::string_view field);
bool names_line_body_record(std::string_view field);
bool names_train_record(std::string_view field);

std::string lower_case(std::string_view text);  // A-Z as a-z

// A field that holds a number where a keyword belongs.
bool looks_like_number(std::string_view field);

// A record as the diagnostics name it: its source and the place of its keyword.
struct RecordRef {
  SourceFile source = SourceFile::none;
  SourcePlace place;
};

struct KmReferenceRecord {
  SourcePlace place;
  std::string keyword;
  int32_t position_m = 0;
  int32_t value_m = 0;
};

class SourceChecks {
 public:
  explicit SourceChecks(std::vector<Diagnostic>& out) : out_(out) {}

  void warn(SourceFile source, std::optional<SourcePlace> place, std::string message,
            std::optional<int32_t> position_m = {}, std::optional<int32_t> cell = {});
  // The message is the error's meaning, then ": " and `detail` when there is one.
  void error(BuildErrorCode code, SourceFile source, std::optional<SourcePlace> place, const std::string& detail,
             std::optional<int32_t> position_m = {}, std::optional<int32_t> cell = {});

  // The text as a whole: an empty source, lines written in UTF-8, a last line
  // that is not "[fine]".
  void check_text(SourceFile source, std::string_view text);
  bool is_empty(SourceFile source) const { return empty_[static_cast<size_t>(source)]; }

  // Error 25: what could not be read, where, and in which record.
  void read_failure(SourceFile source, const InputError& failure);
  // The line half stopped on `error`: the train source is not read at all.
  void train_source_not_read(const BuildError& error);
  // Errors 11 to 13 found after the reading, at the signal or slowdown they serve.
  void derived_code_point_failed(const RouteModel& model, const BuildError& error);
  // Errors 1250 and 1251: the record that put a value into cell 1.
  void reserved_slot_used(const RouteModel& model, BuildErrorCode fatal);

  // A record put a marker into `cell`.
  void placed(int64_t cell, SourceFile source, SourcePlace place);
  // What holds `cell`, as told to a record of `asking`: "a signal (line 41)",
  // "a sign board (line 12 of the line source)".
  std::string holder_of(const RouteModel& model, int64_t cell, SourceFile asking) const;

  // The three references as the line source last wrote each, for error 2.
  std::array<std::optional<KmReferenceRecord>, 3> km_references;

 private:
  std::optional<RecordRef> placed_by(int64_t cell) const;

  std::vector<Diagnostic>& out_;
  std::array<bool, 3> empty_{};  // by SourceFile
  std::unordered_map<int64_t, RecordRef> placed_;
};

// The fields a reader meets where a keyword belongs. A field that selects no
// record is passed over, and so, one by one, are the values after it: one
// warning a line is enough, and a value a record does not take is told apart
// from a keyword nobody knows.
class KeywordFields {
 public:
  KeywordFields(SourceChecks& shared, SourceFile source, std::span<const std::string_view> headers)
      : shared_(shared), source_(source), headers_(headers) {}

  // A field that selects a record; `read` is false when the reader passes over
  // that record and its values (a curve without the route plan).
  void selects(const std::string& field, SourcePlace place, bool read);
  // A field that selects nothing. Says what there is to say about comments,
  // headers, values out of place and lines already told about, and returns
  // true when the caller is to say what the field is instead.
  bool needs_naming(const std::string& field, SourcePlace place);
  // The caller warned about the field: the rest of its line goes unsaid.
  void warn_and_pass_line(const std::string& message, SourcePlace place);
  // After a record's values: a last value on a later line means the record ran short.
  void values_read(SourcePlace last_value);

  const std::string& keyword() const { return keyword_; }  // of the record being read, as written
  SourcePlace place() const { return place_; }

 private:
  SourceChecks& shared_;
  SourceFile source_;
  std::span<const std::string_view> headers_;
  std::string keyword_;
  SourcePlace place_;
  bool reading_record_ = false;  // a record's values are being read
  int record_line_ = 0;          // where the last record read stands
  int passed_line_ = 0;          // a line whose remaining fields need no word
};

// What the checks of either source share: the record in hand (the one whose
// keyword field the reader named last) and what any record with a position
// may be told.
class RecordChecks {
 public:
  void before_general_section(SourcePlace first_field);  // a preamble, which is not read

 protected:
  RecordChecks(SourceChecks& shared, const RouteModel& model, SourceFile source,
               std::span<const std::string_view> headers)
      : shared_(shared), model_(model), fields_(shared, source, headers), source_(source) {}

  // About the record in hand.
  void warn(const std::string& message, std::optional<int32_t> position_m = {}, std::optional<int32_t> cell = {});
  void error(BuildErrorCode code, const std::string& detail, std::optional<int32_t> position_m = {},
             std::optional<int32_t> cell = {});
  std::string record_at(int64_t position) const;  // "the pendenza at 4000 m"

  // Error `code`: the record's marker finds `cell` taken, and the message names by what.
  void cell_taken(BuildErrorCode code, int32_t position, int64_t cell);
  // The record's marker went into `cell`: it is noted as the holder, and told
  // when its position is off the 50 m cells or past the end of the line.
  void placed_at(int32_t position, int64_t cell);
  // `what` (a position, a start, a length) off the 50 m cells.
  void check_off_grid(const std::string& what, int32_t value, int32_t position, std::optional<int32_t> cell);
  // A record that starts, or reaches, past the end of the line.
  void check_past_end(int32_t start, int64_t end, std::optional<int32_t> cell);

  SourceChecks& shared_;
  const RouteModel& model_;
  KeywordFields fields_;
  SourceFile source_;
};

std::string metres(int64_t value);  // "4000 m"
// The multiples of `step` on either side of `value`: "950 or 1000".
std::string multiples_around(int32_t value, int32_t step);
// The cell that holds a position: nearest-even(p / 50).
int32_t cell_holding(int32_t position);

// " did you mean \"pendenza\"?" for a near miss, or nothing.
std::string did_you_mean(std::string_view field, std::span<const std::string_view> candidates);

// "line 12", or "line 12 of the train source" when told to a record of the other source.
std::string line_reference(const RecordRef& record, SourceFile asking);

}  // namespace scenario
