#include "compiler/compiled_output.h"

#include <gtest/gtest.h>

#include "support/memory_file_store.h"

namespace scenario {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(CompiledOutput, CellIsFifteenLittleEndianBytes) {
  RouteModel model;
  model.create_cells(43000);
  Cell& cell = model.cells[20];
  cell = Cell{kSignal, 40, 10, -2, 0x1234, 115, 31, 2, 16, 125, 70};

  const std::string file = encode_cell_file(model);
  ASSERT_EQ(file.size(), 15u * 1001u);
  EXPECT_EQ(file.substr(300, 15), bytes({1, 40, 0, 10, 0, 0xFE, 0xFF, 0x34, 0x12, 115, 31, 2, 16, 125, 70}));
  EXPECT_EQ(file.substr(285, 15), std::string(15, '\0'));
}

TEST(CompiledOutput, TableRecordsHaveTheirTextLengthAndNoGaps) {
  RouteModel model;
  model.table[kScenarioRecord].text = "ValdorenaC_Morlavesa";
  model.table[kScenarioRecord].word1 = 610;
  model.table[kScenarioRecord].time = 34026;
  model.table[kTrainNumberRecord].text = "4721";

  const std::string file = encode_table_file(model);
  ASSERT_EQ(file.size(), 87u * 34u + 20u + 4u);
  EXPECT_EQ(file.substr(0, 85 * 34), std::string(85 * 34, '\0'));

  const std::string record85 = file.substr(85 * 34, 54);
  EXPECT_EQ(record85.substr(14, 2), bytes({20, 0}));
  EXPECT_EQ(record85.substr(16, 20), "ValdorenaC_Morlavesa");
  EXPECT_EQ(record85.substr(36, 2), bytes({0x62, 0x02}));              // 610
  EXPECT_EQ(record85.substr(50, 4), bytes({0xEA, 0x84, 0x00, 0x00}));  // 34026
  const std::string record86 = file.substr(85 * 34 + 54);
  ASSERT_EQ(record86.size(), 38u);
  EXPECT_EQ(record86.substr(14, 6), bytes({4, 0}) + "4721");
}

TEST(CompiledOutput, StationRecordFieldsInOrder) {
  RouteModel model;
  TableRecord& r = model.table[1];
  r = TableRecord{7, -300, 300, 0, 1, "A\xEC", 4, 1, 2, 1, 1, 0, 1, 0, 0, 47400};  // "Aì": one byte for ì
  const std::string file = encode_table_file(model);
  EXPECT_EQ(file.substr(34, 36),
            bytes({7, 0xD4, 0xFE, 0xFF, 0xFF, 0x2C, 0x01, 0, 0, 0, 0, 0, 0, 1, 2,    0,    'A', 0xEC,
                   4, 0,    1,    0,    2,    0,    1,    0, 1, 0, 0, 1, 0, 0, 0x28, 0xB9, 0,   0}));
}

TEST(CompiledOutput, WritesPlanTableAndCellsByName) {
  testing::MemoryFileStore files;
  const ScenarioFolder folder{"/out", '/'};
  const Identity identity = ascii_identity("ValdorenaC_Morlavesa", "4721");
  RouteModel model;
  model.create_cells(25);
  // Without a plan an earlier plan file stays as it was.
  files.replace("/out/ValdorenaC_Morlavesa_linea.dat", "older plan");

  write_compiled_files(files, folder, identity, model);
  EXPECT_EQ(files.files.at("/out/ValdorenaC_Morlavesa_linea.dat"), "older plan");
  EXPECT_EQ(files.files.at("/out/ValdorenaC_Morlavesa_4721.dat").size(), 15u * 141u);
  EXPECT_EQ(files.files.at("/out/ValdorenaC_Morlavesa_4721.sim").size(), 87u * 34u);

  model.create_plan(25);
  model.plan->finish();
  write_compiled_files(files, folder, identity, model);
  EXPECT_EQ(files.files.at("/out/ValdorenaC_Morlavesa_linea.dat"), model.plan->file_bytes());
}

}  // namespace
}  // namespace scenario
