#include "compiler/source_reading.h"

#include "compiler/line_reader.h"
#include "compiler/train_reader.h"

namespace scenario {

void memorizza_dati(BuildContext& ctx) {
  RouteModel& model = ctx.model;
  model.table[kScenarioRecord].text = ctx.identity.scenario_name;
  model.table[kTrainNumberRecord].text = ctx.identity.train_number;
  try {
    const LineReadResult line = read_line_source(ctx);
    if (line.read_train_source) read_train_source(ctx, line.sign_floor);
  } catch (...) {
    // The one handler for every unexpected failure while reading: whatever was
    // placed stays, the sources go, and the failure is error 25.
    for (const std::string& name : {line_source_name(ctx.identity), train_source_name(ctx.identity)}) {
      try {
        ctx.files->remove(ctx.path(name));
      } catch (...) {
        // A source that cannot be deleted does not hide the read failure.
      }
    }
    model.error.number = 25;
  }
}

}  // namespace scenario
