// The three crew documents as a user finds them after starting the builder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "documents/notes.h"
#include "documents/slowdown_order.h"
#include "documents/train_card.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

using testing::read_file;
using testing::TempFolder;
using testing::write_file;

TEST(CrewDocuments, BuilderLeavesThemBesideItself) {
  TempFolder folder;
  const std::filesystem::path builder = folder.path() / "scenario_builder";
  std::filesystem::copy_file(SCENARIO_BUILDER_PATH, builder);

  const struct {
    const char* name;
    std::string bytes;
  } documents[] = {
      {"ValdorenaC_Morlavesa_4721_note.txt", render_text_file(notes_lines())},
      {"ValdorenaC_Morlavesa_4721_rallentamenti.txt", render_text_file(slowdown_order_lines())},
      {"ValdorenaC_Morlavesa_4721_scheda_treno.txt", render_text_file(train_card_lines())},
  };
  // Longer papers from an earlier run must give way to whole new ones.
  for (const auto& d : documents) write_file(folder.path() / d.name, std::string(20000, 'x'));

  // Started from another working folder, as a desktop launch may be: the files follow the program.
  const testing::ProgramRun run = testing::run_program(builder.string(), {}, "/");
  ASSERT_LT(run.status, 126) << "the builder did not run to its end: " << run.error_text;

  for (const auto& d : documents) {
    ASSERT_TRUE(std::filesystem::is_regular_file(folder.path() / d.name)) << d.name;
    EXPECT_EQ(read_file(folder.path() / d.name), d.bytes) << d.name;
  }
}

}  // namespace
}  // namespace scenario
