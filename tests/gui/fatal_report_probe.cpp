// Compiles, in the folder it is given, a line source and a train source whose
// code point record fills cell 1, one of the slots the compiler reserves for
// its own stamp: the compile ends in the fatal report 1250, shown by this
// machine's backend. The GUI tests start it and answer the box.
//
//   fatal_report_probe FOLDER
//
// Ends with status 1 after the report (as the builder does), 3 when the
// compile ended without one.

#include <cstdio>

#include "app/build_driver.h"
#include "compiler/compile.h"
#include "platform/platform_factory.h"
#include "source/built_in_scenario.h"

int main(int argc, char** argv) {
  using namespace scenario;
  if (argc != 2) {
    std::fprintf(stderr, "usage: fatal_report_probe FOLDER\n");
    return 2;
  }
  auto platform = make_platform();
  const Identity identity = ascii_identity(std::string(built_in::kScenarioName), std::string(built_in::kTrainNumber));
  const ScenarioFolder folder{argv[1], platform->path_separator()};
  FileStore& files = platform->files();
  files.replace(folder.path(line_source_name(identity)), "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n");
  files.replace(folder.path(train_source_name(identity)), "[generale]\r\nabbattimento, 50, 40\r\n[fine]\r\n");

  const Compilation compilation = compile_scenario(files, folder, identity, /*with_plan=*/true);
  if (compilation.status == CompileStatus::fatal_report) {
    report_fatal_error(*platform, std::to_string(number_of(compilation.fatal)));
  }
  std::fprintf(stderr, "the compile ended without a fatal report\n");
  return 3;
}
