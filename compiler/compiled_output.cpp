#include "compiler/compiled_output.h"

#include <stdexcept>
#include <type_traits>
#include <variant>

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
    if (record.text.size() > UINT16_MAX) throw std::length_error("table record text longer than 65535 bytes");
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

std::string encode_line_plan_file(const RoutePlan& plan) {
  ByteWriter out(plan.entries.size() * 10);
  for (const PlanEntry& entry : plan.entries) {
    std::visit(
        [&out](const auto& value) {
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, PlanEmpty>) {
            out.put_u16(kPlanTagEmpty);
          } else if constexpr (std::is_same_v<T, int16_t>) {
            out.put_u16(kPlanTagInt16);
            out.put_i16(value);
          } else {
            out.put_u16(kPlanTagDouble);
            out.put_f64(value);
          }
        },
        entry);
  }
  return out.take();
}

void write_compiled_files(const BuildContext& ctx) {
  const RouteModel& model = ctx.model;
  if (model.plan_flag != 0 && model.has_plan()) {
    ctx.files->replace(ctx.path(line_plan_file_name(ctx.identity)), encode_line_plan_file(model.plan()));
  }
  ctx.files->replace(ctx.path(table_file_name(ctx.identity)), encode_table_file(model));
  ctx.files->replace(ctx.path(cell_file_name(ctx.identity)), encode_cell_file(model));
}

}  // namespace scenario
