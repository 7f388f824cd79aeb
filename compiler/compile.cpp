#include "compiler/compile.h"

#include "compiler/compiled_output.h"
#include "compiler/identity_codes.h"
#include "compiler/post_processing.h"
#include "compiler/source_reading.h"

namespace scenario {

int32_t stamp_reserved_slots(RouteModel& model) {
  TableRecord& scenario_record = model.table[kScenarioRecord];
  Cell& cell1 = model.cells.at(1);
  if (scenario_record.word1 != 0 || cell1.value1 != 0) return 1250;
  scenario_record.word1 = kTableStamp;
  cell1.value1 = kCellStamp;
  if (scenario_record.time != 0 || cell1.value2 != 0) return 1251;
  scenario_record.time = codice_gara_st(model);
  cell1.value2 = static_cast<int16_t>(codice_gara_og(model));
  return 0;
}

CompileResult memorizza_percorso(BuildContext& ctx, int32_t& j) {
  ctx.model = RouteModel{};
  RouteModel& model = ctx.model;
  model.plan_flag = j;
  model.error.number = 0;
  model.clear_table();

  memorizza_dati(ctx);
  // Cell 1 carries the stamps, so a route without it cannot be finished either.
  if (model.cells.size() < 2) return {CompileResult::Status::no_cell_array, 0};

  post_process(model);
  if (const int32_t fatal = stamp_reserved_slots(model); fatal != 0) {
    return {CompileResult::Status::fatal_report, fatal};
  }
  write_compiled_files(ctx);
  return {CompileResult::Status::written, 0};
}

}  // namespace scenario
