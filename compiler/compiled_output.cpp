#include "compiler/compiled_output.h"

#include <stdexcept>
#include <vector>

#include "compiler/byte_writer.h"

namespace scenario {

std::string encode_cell_file(const RouteModel& model) {
  ByteWriter out(model.cells.size() * kCellBytes);
  for (const Cell& cell : model.cells) {
    out.put_u8(cell.marker);
    out.put_i16(cell.value1);
    out.put_i16(cell.value2);
    out.put_i16(cell.value3);
    out.put_i16(cell.value4);
    out.put_u8(cell.signal_time);
    out.put_u8(cell.approach_code);
    out.put_u8(cell.mountain_type);
    out.put_u8(cell.speed_limit);
    out.put_u8(cell.gradient);
    out.put_u8(cell.adhesion);
  }
  return out.take();
}

std::string encode_table_file(const RouteModel& model) {
  size_t size = 0;
  for (const TableRecord& record : model.table) size += kEmptyRecordBytes + record.text.size();
  ByteWriter out(size);
  for (const TableRecord& record : model.table) {
    // The readers refuse longer texts: one here is a fault of ours.
    if (record.text.size() > UINT16_MAX) throw std::logic_error("table record text longer than 65535 bytes");
    out.put_u8(record.kind);
    out.put_i32(record.start);
    out.put_i32(record.end);
    out.put_i32(record.position);
    out.put_u8(record.flag);
    out.put_u16(static_cast<uint16_t>(record.text.size()));
    out.put_bytes(record.text);
    out.put_i16(record.word1);
    out.put_i16(record.word2);
    out.put_i16(record.word3);
    out.put_i16(record.word4);
    out.put_i16(record.word5);
    out.put_u8(record.byte1);
    out.put_u8(record.byte2);
    out.put_u8(record.byte3);
    out.put_u8(record.byte4);
    out.put_i32(record.time);
  }
  return out.take();
}

void write_compiled_files(FileStore& files, const ScenarioFolder& folder, const Identity& identity,
                          const RouteModel& model) {
  const std::string table = encode_table_file(model);
  const std::string cells = encode_cell_file(model);
  // One compile's files go together: a failure leaves no new plan beside older cells.
  // The plan is written straight from its own bytes.
  std::vector<NewFile> outputs;
  if (model.plan) outputs.push_back({folder.path(line_plan_file_name(identity)), model.plan->file_bytes()});
  outputs.push_back({folder.path(table_file_name(identity)), table});
  outputs.push_back({folder.path(cell_file_name(identity)), cells});
  files.replace_together(outputs);
}

}  // namespace scenario
