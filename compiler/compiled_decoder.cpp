#include "compiler/compiled_decoder.h"

#include <algorithm>

#include "compiler/byte_reader.h"

namespace scenario {
namespace {

using std::to_string;

DecodeError fault(CompiledFile file, size_t offset, std::string what) { return {file, offset, std::move(what)}; }

std::string bytes_text(size_t n) { return n == 1 ? "1 byte" : to_string(n) + " bytes"; }

// Field by field in the order compiled_output writes them.
Cell read_cell(ByteReader& in) {
  Cell cell;
  cell.marker = in.get_u8();
  cell.value1 = in.get_i16();
  cell.value2 = in.get_i16();
  cell.value3 = in.get_i16();
  cell.value4 = in.get_i16();
  cell.signal_time = in.get_u8();
  cell.approach_code = in.get_u8();
  cell.mountain_type = in.get_u8();
  cell.speed_limit = in.get_u8();
  cell.gradient = in.get_u8();
  cell.adhesion = in.get_u8();
  return cell;
}

// The number of value bytes after a tag, or nothing for a tag the compiler never writes.
std::optional<size_t> plan_value_bytes(uint16_t tag) {
  switch (tag) {
    case kPlanTagEmpty:
      return 0;
    case kPlanTagInt16:
      return sizeof(int16_t);
    case kPlanTagDouble:
      return sizeof(double);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string_view compiled_file_name(CompiledFile file) {
  switch (file) {
    case CompiledFile::cells:
      return "cell file";
    case CompiledFile::table:
      return "table file";
    case CompiledFile::line_plan:
      return "line plan file";
  }
  return "compiled file";
}

std::string DecodeError::message() const {
  return std::string(compiled_file_name(file)) + ", byte " + to_string(offset) + ": " + what;
}

Decoded<std::vector<Cell>> decode_cell_file(std::string_view bytes) {
  const CompiledFile file = CompiledFile::cells;
  const size_t count = bytes.size() / kCellBytes;
  if (const size_t rest = bytes.size() % kCellBytes; rest != 0) {
    return fault(file, count * kCellBytes,
                 "cell " + to_string(count) + " has " + bytes_text(rest) + " of its " + to_string(kCellBytes) +
                     ": the file is cut short or has bytes added");
  }
  if (count < 2) {
    return fault(file, bytes.size(),
                 (count == 0 ? std::string("an empty file") : std::string("only cell 0")) +
                     ": a cell file holds at least cells 0 and 1");
  }
  if (count > static_cast<size_t>(kMaxCellCount)) {
    return fault(file, static_cast<size_t>(kMaxCellCount) * kCellBytes,
                 to_string(count) + " cells: more than the " + to_string(kMaxCellCount) + " of the longest route (" +
                     to_string(kMaxRouteLength) + " m)");
  }
  std::vector<Cell> cells;
  cells.reserve(count);
  ByteReader in(bytes);
  while (in.remaining() > 0) cells.push_back(read_cell(in));
  return cells;
}

Decoded<CompiledTable> decode_table_file(std::string_view bytes) {
  const CompiledFile file = CompiledFile::table;
  if (bytes.empty()) return fault(file, 0, "an empty file: a table file holds 87 records of at least 34 bytes");
  CompiledTable table;
  ByteReader in(bytes);
  for (int index = 0; index < kTableRecords; ++index) {
    const size_t start = in.offset();
    const std::string record = "record " + to_string(index);
    if (in.remaining() == 0) {
      const std::string missing = index == kTableRecords - 1 ? "record " + to_string(index) + " is missing"
                                                             : "records " + to_string(index) + " to " +
                                                                   to_string(kTableRecords - 1) + " are missing";
      return fault(file, start, "the file ends after record " + to_string(index - 1) + ": " + missing);
    }
    if (in.remaining() < kRecordHeadBytes) {
      return fault(file, start,
                   record + ": the file ends inside the record (" + bytes_text(in.remaining()) + " left of at least " +
                       to_string(kEmptyRecordBytes) + ")");
    }
    TableRecord& r = table[static_cast<size_t>(index)];
    r.kind = in.get_u8();
    r.start = in.get_i32();
    r.end = in.get_i32();
    r.position = in.get_i32();
    r.flag = in.get_u8();
    const uint16_t text_length = in.get_u16();
    if (in.remaining() < size_t{text_length} + kRecordTailBytes) {
      return fault(file, start + kRecordHeadBytes - sizeof(uint16_t),
                   record + ": text length " + to_string(text_length) +
                       " runs past the end of the file (the text and " + to_string(kRecordTailBytes) +
                       " bytes after it need " + bytes_text(size_t{text_length} + kRecordTailBytes) + ", " +
                       bytes_text(in.remaining()) + " left)");
    }
    r.text = in.get_bytes(text_length);
    r.word1 = in.get_i16();
    r.word2 = in.get_i16();
    r.word3 = in.get_i16();
    r.word4 = in.get_i16();
    r.word5 = in.get_i16();
    r.byte1 = in.get_u8();
    r.byte2 = in.get_u8();
    r.byte3 = in.get_u8();
    r.byte4 = in.get_u8();
    r.time = in.get_i32();
  }
  if (in.remaining() > 0) {
    return fault(file, in.offset(),
                 bytes_text(in.remaining()) + " after record " + to_string(kTableRecords - 1) +
                     ", the last: bytes added, or a text length that does not match its text");
  }
  return table;
}

Decoded<DecodedPlan> decode_line_plan_file(std::string_view bytes) {
  const CompiledFile file = CompiledFile::line_plan;
  constexpr size_t kMaxEntries = 2 * (static_cast<size_t>(kMaxLastPlanMetre) + 1);

  // First the walk over the tags, which checks every entry and counts them,
  // so that the entries are stored only once their number is known to be sound.
  size_t count = 0;
  {
    ByteReader in(bytes);
    while (in.remaining() > 0) {
      const size_t at = in.offset();
      const auto entry = [count] { return "entry " + to_string(count); };
      if (count == kMaxEntries) {
        return fault(file, at,
                     "more than the " + to_string(kMaxEntries) + " entries of the longest route's plan (metres 0 to " +
                         to_string(kMaxLastPlanMetre) + ")");
      }
      if (in.remaining() < sizeof(uint16_t)) return fault(file, at, entry() + ": the file ends inside its tag");
      const uint16_t tag = in.get_u16();
      const std::optional<size_t> value_bytes = plan_value_bytes(tag);
      if (!value_bytes) {
        return fault(file, at,
                     entry() + ": tag " + to_string(tag) +
                         " is none of 0 (empty), 2 (16-bit integer) and 5 (floating-point number)");
      }
      if (in.remaining() < *value_bytes) {
        return fault(file, at,
                     entry() + ": the file ends inside its " + to_string(*value_bytes) + "-byte value (" +
                         bytes_text(in.remaining()) + " left)");
      }
      in.get_bytes(*value_bytes);
      ++count;
    }
  }
  if (count == 0) return fault(file, 0, "an empty file: a line plan holds two coordinates for every metre");
  if (count % 2 != 0) {
    return fault(file, bytes.size(),
                 to_string(count) + " entries: every metre has two coordinates, so their number is even");
  }

  DecodedPlan plan;
  plan.last_metre = static_cast<int32_t>(count / 2 - 1);
  plan.entries.reserve(count);
  ByteReader in(bytes);
  while (in.remaining() > 0) {
    DecodedPlanEntry entry;
    entry.tag = static_cast<PlanTag>(in.get_u16());
    if (entry.tag == kPlanTagInt16) entry.value = in.get_i16();
    if (entry.tag == kPlanTagDouble) entry.value = in.get_f64();
    plan.entries.push_back(entry);
  }
  return plan;
}

Decoded<DecodedScenario> decode_scenario(const CompiledBytes& bytes) {
  DecodedScenario scenario;
  if (bytes.table) {
    auto table = decode_table_file(*bytes.table);
    if (!table) return table.error();
    scenario.table = std::move(table.value());
  }
  if (bytes.cells) {
    auto cells = decode_cell_file(*bytes.cells);
    if (!cells) return cells.error();
    scenario.cells = std::move(cells.value());
  }
  if (bytes.line_plan) {
    auto plan = decode_line_plan_file(*bytes.line_plan);
    if (!plan) return plan.error();
    scenario.plan = std::move(plan.value());
  }
  if (!scenario.table) return scenario;

  const int32_t route_length = (*scenario.table)[kTrainRecord].end;
  const std::string route =
      "the route length " + to_string(route_length) + " m in record " + to_string(kTrainRecord) + " of the table file";
  if (scenario.cells) {
    const int64_t last_cell = int64_t{last_cell_index_for(route_length)};
    const int64_t have = static_cast<int64_t>(scenario.cells->size()) - 1;
    if (have != last_cell) {
      return fault(CompiledFile::cells, static_cast<size_t>(std::min(have, last_cell) + 1) * kCellBytes,
                   "cells 0 to " + to_string(have) + ", but " + route + " gives cells 0 to " + to_string(last_cell) +
                       ": cells cut off or added, or the files of two scenarios");
    }
  }
  if (scenario.plan) {
    const int64_t last_metre = int64_t{route_length} + kRunOut;
    if (scenario.plan->last_metre != last_metre) {
      return fault(CompiledFile::line_plan, bytes.line_plan->size(),
                   "metres 0 to " + to_string(scenario.plan->last_metre) + ", but " + route + " gives metres 0 to " +
                       to_string(last_metre) + ": entries cut off or added, or the files of two scenarios");
    }
  }
  return scenario;
}

}  // namespace scenario
