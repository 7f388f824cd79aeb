#include "app/build_driver.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "compiler/build_errors.h"
#include "compiler/compile.h"
#include "documents/notes.h"
#include "documents/slowdown_order.h"
#include "documents/train_card.h"
#include "source/built_in_scenario.h"
#include "source/line_data.h"
#include "source/train_data.h"

namespace scenario {

void errore(Platform& platform, const std::string& a) {
  const int pressed = platform.show_fatal_report(" Errore n. " + a);
  static_cast<void>(pressed);  // nothing reads the button code
  platform.end_process(1);
  std::abort();  // a backend whose end_process returned would carry on past a fatal report
}

namespace {

// A run that cannot go on says why where its user will see it: on the
// terminal, and in a box on a desktop, where there may be no terminal.
int stop_run(Platform& platform, const std::string& why) {
  platform.show_fatal_report(why);
  return 1;
}

}  // namespace

int Form_Load(Platform& platform) {
  BuildContext ctx;
  ctx.identity = ascii_identity(std::string(built_in::kScenarioName), std::string(built_in::kTrainNumber));
  try {
    ctx.folder = platform.start_folder();
    ctx.separator = platform.path_separator();
    ctx.files = &platform.files();
    platform.show_waiting_window();
    const auto one_build_at_a_time = platform.hold_start_folder();

    dati_linea(ctx);
    dati_treno(ctx);
    dati_note(ctx);
    dati_rallentamenti(ctx);
    dati_scheda(ctx);

    int32_t plan_flag = 1;
    const CompileResult result = memorizza_percorso(ctx, plan_flag);
    switch (result.status) {
      case CompileResult::Status::fatal_report:
        errore(platform, std::to_string(result.fatal_number));
      case CompileResult::Status::no_cell_array:
        return stop_run(
            platform, "no compiled file written: no cells were built (" + describe_build_error(ctx.model.error) + ")");
      case CompileResult::Status::written:
        break;
    }
  } catch (const FileError& e) {
    return stop_run(platform, e.what());
  } catch (const std::exception& e) {
    // Reading failures are recorded by the compiler itself; anything reaching
    // here stops the run with what went wrong rather than an abort.
    return stop_run(platform, std::string("build stopped: ") + e.what());
  }
  if (ctx.model.error.number != 0) {
    std::fprintf(stderr, "%s\n", describe_build_error(ctx.model.error).c_str());
    return 2;
  }
  return 0;
}

}  // namespace scenario
