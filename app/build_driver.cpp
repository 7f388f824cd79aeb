#include "app/build_driver.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "compiler/build_errors.h"
#include "compiler/compile.h"
#include "documents/notes.h"
#include "documents/slowdown_order.h"
#include "documents/train_card.h"
#include "source/built_in_scenario.h"
#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"

namespace scenario {

void report_fatal_error(Platform& platform, const std::string& number) {
  const int pressed = platform.show_fatal_report(" Errore n. " + number);
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

struct Text {
  std::string name;
  std::string bytes;
};

// Texts that belong together go in together: each is written whole first,
// then all take their places, and their folder is synced once for them all.
void write_texts(FileStore& files, const ScenarioFolder& folder, const std::vector<Text>& texts) {
  std::vector<NewFile> new_files;
  for (const Text& text : texts) new_files.push_back({folder.path(text.name), text.bytes});
  files.replace_together(new_files);
}

}  // namespace

int run_build(Platform& platform) {
  const Identity identity = ascii_identity(std::string(built_in::kScenarioName), std::string(built_in::kTrainNumber));
  BuildError recorded;
  try {
    const ScenarioFolder folder{platform.start_folder(), platform.path_separator()};
    FileStore& files = platform.files();
    platform.show_waiting_window();
    const auto one_build_at_a_time = platform.hold_start_folder();

    // The two sources, then the crew documents, then the compile: always in this order.
    write_texts(files, folder,
                {{line_source_name(identity), render_text_file(line_source_lines())},
                 {train_source_name(identity), render_text_file(train_source_lines())}});
    write_texts(files, folder,
                {{notes_name(identity), render_text_file(notes_lines())},
                 {slowdown_order_name(identity), render_text_file(slowdown_order_lines())},
                 {train_card_name(identity), render_text_file(train_card_lines())}});

    const Compilation compilation = compile_scenario(files, folder, identity, /*with_plan=*/true);
    switch (compilation.status) {
      case CompileStatus::fatal_report:
        report_fatal_error(platform, std::to_string(number_of(compilation.fatal)));
      case CompileStatus::no_cells:
        return stop_run(platform, "no compiled file written: no cells were built (" +
                                      describe_build_error(compilation.error) + ")");
      case CompileStatus::compiled:
        break;
    }
    recorded = compilation.error;
  } catch (const FileError& e) {
    return stop_run(platform, e.what());
  }
  if (recorded.is_set()) {
    std::fprintf(stderr, "%s\n", describe_build_error(recorded).c_str());
    return 2;
  }
  return 0;
}

}  // namespace scenario
