#include "compiler/compile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/native_file_store.h"
#include "support/built_in_context.h"

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
  EXPECT_EQ(stamp_reserved_slots(model), 0);
  EXPECT_EQ(model.table[kScenarioRecord].word1, 610);
  EXPECT_EQ(model.table[kScenarioRecord].time, 34026);
  EXPECT_EQ(model.cells[1].value1, 5121);
  EXPECT_EQ(model.cells[1].value2, 2438);
}

TEST(ReservedSlots, SlotsUsedBySourcesAreFatal) {
  struct Case {
    const char* what;
    void (*use)(RouteModel&);
    int32_t expected;
  };
  const Case cases[] = {
      {"cell 1 value 1", [](RouteModel& m) { m.cells[1].value1 = 40; }, 1250},
      {"record 85 word 1", [](RouteModel& m) { m.table[kScenarioRecord].word1 = 1; }, 1250},
      {"cell 1 value 2", [](RouteModel& m) { m.cells[1].value2 = 3; }, 1251},
      {"record 85 time", [](RouteModel& m) { m.table[kScenarioRecord].time = -1; }, 1251},
  };
  for (const Case& c : cases) {
    RouteModel model = stampable_model();
    c.use(model);
    EXPECT_EQ(stamp_reserved_slots(model), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(CompileOperation, SourcesUsingReservedSlotsEndInAFatalReportWithNothingWritten) {
  struct Case {
    const char* train_records;
    int32_t fatal;
  };
  const Case cases[] = {
      {"abbattimento, 50, 40", 1250},                      // a code point in cell 1: value 1
      {"segnale, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0", 1251},  // a signal in cell 1 with only value 2 set
  };
  for (const Case& c : cases) {
    testing::TempFolder folder;
    NativeFileStore files;
    BuildContext ctx = testing::built_in_context(folder, files);
    testing::write_file(folder.path() / "ValdorenaC_Morlavesa_linea.txt",
                        "[generale]\r\nlunghezza percorso, 1000\r\n[fine]\r\n");
    testing::write_file(folder.path() / "ValdorenaC_Morlavesa_4721-.txt",
                        std::string("[generale]\r\n") + c.train_records + "\r\n[fine]\r\n");
    testing::write_file(folder.path() / "ValdorenaC_Morlavesa_4721_note.txt", "notes of this build");

    int32_t plan_flag = 1;
    const CompileResult result = memorizza_percorso(ctx, plan_flag);
    EXPECT_EQ(result.status, CompileResult::Status::fatal_report) << c.train_records;
    EXPECT_EQ(result.fatal_number, c.fatal) << c.train_records;
    // Sources read and deleted, documents kept, nothing compiled.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"ValdorenaC_Morlavesa_4721_note.txt"}) << c.train_records;
  }
}

TEST(CompileOperation, NoRouteLengthMeansNoCellsAndNoCompiledFile) {
  testing::TempFolder folder;
  NativeFileStore files;
  BuildContext ctx = testing::built_in_context(folder, files);
  int32_t plan_flag = 1;
  // No line source at all: error 101, the train source is not read.
  testing::write_file(folder.path() / "ValdorenaC_Morlavesa_4721-.txt", "[generale]\r\n[fine]\r\n");
  const CompileResult result = memorizza_percorso(ctx, plan_flag);
  EXPECT_EQ(result.status, CompileResult::Status::no_cell_array);
  EXPECT_EQ(ctx.model.error.number, 101);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "ValdorenaC_Morlavesa_4721-.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "ValdorenaC_Morlavesa_4721.sim"));
}

TEST(CompileOperation, ABuildErrorStillWritesEveryCompiledFile) {
  testing::TempFolder folder;
  NativeFileStore files;
  BuildContext ctx = testing::built_in_context(folder, files);
  testing::write_file(folder.path() / "ValdorenaC_Morlavesa_linea.txt",
                      "[generale]\r\nlunghezza percorso, 1000\r\n[pendenze]\r\npendenza, 9000, 5\r\n[fine]\r\n");
  testing::write_file(folder.path() / "ValdorenaC_Morlavesa_4721-.txt", "[generale]\r\n[fine]\r\n");
  int32_t plan_flag = 1;
  const CompileResult result = memorizza_percorso(ctx, plan_flag);
  EXPECT_EQ(result.status, CompileResult::Status::written);
  EXPECT_EQ(ctx.model.error.number, 15);
  EXPECT_EQ(ctx.model.error.position, 9000);
  for (const char* name :
       {"ValdorenaC_Morlavesa_linea.dat", "ValdorenaC_Morlavesa_4721.sim", "ValdorenaC_Morlavesa_4721.dat"}) {
    EXPECT_TRUE(std::filesystem::exists(folder.path() / name)) << name;
  }
}

}  // namespace
}  // namespace scenario
