#include "compiler/compile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/memory_file_store.h"

namespace scenario {
namespace {

RouteModel stampable_model() {
  RouteModel model;
  model.create_cells(43000);
  model.table[kScenarioRecord].text = "ValdorenaC_Morlavesa";
  model.table[kTrainNumberRecord].text = "4721";
  return model;
}

TEST(ReservedSlots, StampsFixedValuesAndIdentityCodes) {
  RouteModel model = stampable_model();
  EXPECT_EQ(stamp_reserved_slots(model), BuildErrorCode::none);
  EXPECT_EQ(model.table[kScenarioRecord].word1, 610);
  EXPECT_EQ(model.table[kScenarioRecord].time, 34026);
  EXPECT_EQ(model.cells[1].value1, 5121);
  EXPECT_EQ(model.cells[1].value2, 2438);
}

TEST(ReservedSlots, SlotsUsedBySourcesAreFatal) {
  struct Case {
    const char* what;
    void (*use)(RouteModel&);
    BuildErrorCode expected;
  };
  const Case cases[] = {
      {"cell 1 value 1", [](RouteModel& m) { m.cells[1].value1 = 40; }, BuildErrorCode::stamp_slot_used},
      {"record 85 word 1", [](RouteModel& m) { m.table[kScenarioRecord].word1 = 1; }, BuildErrorCode::stamp_slot_used},
      {"cell 1 value 2", [](RouteModel& m) { m.cells[1].value2 = 3; }, BuildErrorCode::identity_code_slot_used},
      {"record 85 time", [](RouteModel& m) { m.table[kScenarioRecord].time = -1; },
       BuildErrorCode::identity_code_slot_used},
  };
  for (const Case& c : cases) {
    RouteModel model = stampable_model();
    c.use(model);
    EXPECT_EQ(stamp_reserved_slots(model), c.expected) << c.what;
  }
}

// The builder's folder held in memory: its two sources, one crew document and what the compile leaves.
class BuildFolder {
 public:
  static constexpr const char* kLine = "/b/ValdorenaC_Morlavesa_linea.txt";
  static constexpr const char* kTrain = "/b/ValdorenaC_Morlavesa_4721-.txt";
  static constexpr const char* kNotes = "/b/ValdorenaC_Morlavesa_4721_note.txt";
  static constexpr const char* kPlan = "/b/ValdorenaC_Morlavesa_linea.dat";
  static constexpr const char* kTable = "/b/ValdorenaC_Morlavesa_4721.sim";
  static constexpr const char* kCells = "/b/ValdorenaC_Morlavesa_4721.dat";

  BuildFolder(std::string_view line, std::string_view train) {
    if (!line.empty()) files.replace(kLine, line);
    if (!train.empty()) files.replace(kTrain, train);
    files.replace(kNotes, "notes of this build");
  }
  Compilation compile() {
    return compile_scenario(files, ScenarioFolder{"/b", '/'}, ascii_identity("ValdorenaC_Morlavesa", "4721"), true);
  }

  testing::MemoryFileStore files;
};

const char* const kShortLine = "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n";
const char* const kEmptyTrain = "[generale]\r\n[fine]\r\n";

TEST(CompileOperation, SourcesUsingReservedSlotsEndInAFatalReportWithNothingWritten) {
  struct Case {
    const char* train_records;
    BuildErrorCode fatal;
  };
  const Case cases[] = {
      {"abbattimento, 50, 40", BuildErrorCode::stamp_slot_used},  // a code point in cell 1: value 1
      {"segnale, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0",
       BuildErrorCode::identity_code_slot_used},  // a signal in cell 1 with only value 2 set
  };
  for (const Case& c : cases) {
    BuildFolder folder(kShortLine, std::string("[generale]\r\n") + c.train_records + "\r\n[fine]\r\n");
    const Compilation compilation = folder.compile();
    EXPECT_EQ(compilation.status, CompileStatus::fatal_report) << c.train_records;
    EXPECT_EQ(compilation.fatal, c.fatal) << c.train_records;
    // Sources read and deleted, documents kept, nothing compiled.
    EXPECT_EQ(folder.files.names(), std::set<std::string>{BuildFolder::kNotes}) << c.train_records;
  }
}

TEST(CompileOperation, NoRouteLengthMeansNoCellsAndNoCompiledFile) {
  // No line source at all: error 101, the train source is not read.
  BuildFolder folder("", kEmptyTrain);
  const Compilation compilation = folder.compile();
  EXPECT_EQ(compilation.status, CompileStatus::no_cells);
  EXPECT_EQ(compilation.error.code, BuildErrorCode::line_source_missing);
  EXPECT_EQ(folder.files.names(), (std::set<std::string>{BuildFolder::kTrain, BuildFolder::kNotes}));
}

TEST(CompileOperation, ABuildErrorStillWritesEveryCompiledFile) {
  BuildFolder folder("[generale]\r\nlunghezza percorso, 1000\r\n[pendenze]\r\npendenza, 9000, 5\r\n[fine]\r\n",
                     kEmptyTrain);
  const Compilation compilation = folder.compile();
  EXPECT_EQ(compilation.status, CompileStatus::compiled);
  EXPECT_EQ(compilation.error.code, BuildErrorCode::beyond_cell_array);
  EXPECT_EQ(compilation.error.position, 9000);
  EXPECT_EQ(folder.files.names(),
            (std::set<std::string>{BuildFolder::kNotes, BuildFolder::kPlan, BuildFolder::kTable, BuildFolder::kCells}));
}

// Failures of the reading itself: error 25, and both sources go where they still exist.
TEST(CompileOperation, ASourceThatCannotBeReadOrDeletedIsAReadFailure) {
  struct Case {
    const char* what;
    void (*arrange)(testing::MemoryFileStore&);
    std::set<std::string> left;
  };
  const Case cases[] = {
      {"no train source after a complete line source",
       [](testing::MemoryFileStore& files) { files.remove(BuildFolder::kTrain); },
       {BuildFolder::kNotes, BuildFolder::kPlan, BuildFolder::kTable, BuildFolder::kCells}},
      {"a line source that cannot be read",
       [](testing::MemoryFileStore& files) { files.unreadable.insert(BuildFolder::kLine); },
       {BuildFolder::kNotes}},
      {"a line source that cannot be deleted",
       [](testing::MemoryFileStore& files) { files.undeletable.insert(BuildFolder::kLine); },
       {BuildFolder::kLine, BuildFolder::kNotes, BuildFolder::kPlan, BuildFolder::kTable, BuildFolder::kCells}},
  };
  for (const Case& c : cases) {
    BuildFolder folder(kShortLine, kEmptyTrain);
    c.arrange(folder.files);
    const Compilation compilation = folder.compile();
    EXPECT_EQ(compilation.error.code, BuildErrorCode::read_failure) << c.what;
    EXPECT_FALSE(compilation.error.detail.empty()) << c.what;
    EXPECT_EQ(folder.files.names(), c.left) << c.what;
  }
}

}  // namespace
}  // namespace scenario
