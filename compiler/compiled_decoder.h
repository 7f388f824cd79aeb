#pragma once

// The three compiled files read back: bytes in, cells, table records and plan
// entries out, or what is wrong and where. Pure functions of their input (no
// file access, no state), so that any bytes at all can be fed to them: a
// truncated, padded or garbled file gives a DecodeError, never a crash, and
// nothing is allocated for a length the bytes have not been checked to hold.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "compiler/compiled_format.h"
#include "compiler/route_model.h"

namespace scenario {

enum class CompiledFile { cells, table, line_plan };

// "cell file", "table file", "line plan file".
std::string_view compiled_file_name(CompiledFile file);

struct DecodeError {
  CompiledFile file = CompiledFile::cells;
  size_t offset = 0;  // the byte at which the fault shows
  std::string what;   // which cell, record or entry, and what is wrong with it

  // "table file, byte 1234: record 12: text length 300 runs past the end of the file ..."
  std::string message() const;
};

// A decoded value or the reason there is none.
template <typename T>
class Decoded {
 public:
  Decoded(T value) : outcome_(std::move(value)) {}
  Decoded(DecodeError error) : outcome_(std::move(error)) {}

  bool ok() const { return std::holds_alternative<T>(outcome_); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return std::get<T>(outcome_); }
  T& value() { return std::get<T>(outcome_); }
  const DecodeError& error() const { return std::get<DecodeError>(outcome_); }

 private:
  std::variant<T, DecodeError> outcome_;
};

using CompiledTable = std::array<TableRecord, kTableRecords>;

// One line plan entry as stored: its tag and, for a number, its value (a
// 16-bit integer is held exactly).
struct DecodedPlanEntry {
  PlanTag tag = kPlanTagEmpty;
  double value = 0;

  bool is_number() const { return tag != kPlanTagEmpty; }
};

// The plan as the file holds it: metres 0 to last_metre, two coordinates each,
// the first coordinate of every metre before the second, as stored.
struct DecodedPlan {
  int32_t last_metre = 0;
  std::vector<DecodedPlanEntry> entries;

  const DecodedPlanEntry& at(int32_t metre, int coordinate) const {
    return entries[static_cast<size_t>(coordinate) * (static_cast<size_t>(last_metre) + 1) +
                   static_cast<size_t>(metre)];
  }
};

// Cells 0 to U, 15 bytes each: at least cells 0 and 1, at most the longest route's.
Decoded<std::vector<Cell>> decode_cell_file(std::string_view bytes);

// Records 0 to 86, each 34 bytes plus its text, and nothing after the last.
Decoded<CompiledTable> decode_table_file(std::string_view bytes);

// Tagged entries walked one by one; an even number of them, at most the
// longest route's plan.
Decoded<DecodedPlan> decode_line_plan_file(std::string_view bytes);

// Whichever of the three files a compiled scenario comes with.
struct DecodedScenario {
  std::optional<std::vector<Cell>> cells;
  std::optional<CompiledTable> table;
  std::optional<DecodedPlan> plan;
};

struct CompiledBytes {
  std::optional<std::string_view> cells;
  std::optional<std::string_view> table;
  std::optional<std::string_view> line_plan;
};

// Decodes each file given and, with the table, checks that the cell count and
// the plan's metres are those of the route length in record 84: a file cut or
// lengthened at a whole cell or entry shows only there.
Decoded<DecodedScenario> decode_scenario(const CompiledBytes& bytes);

}  // namespace scenario
