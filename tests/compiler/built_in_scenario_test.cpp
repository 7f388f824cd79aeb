// The built-in scenario compiled whole, from its two writers to the model that
// the compiled files are written from.

#include <gtest/gtest.h>

#include "compiler/compile.h"
#include "source/line_data.h"
#include "source/train_data.h"

namespace scenario {
namespace {

class BuiltInScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    const SourceTexts sources{{render_text_file(line_source_lines()), {}},
                              {render_text_file(train_source_lines()), {}}};
    compilation = compile_sources(sources, ascii_identity("ValdorenaC_Morlavesa", "4721"), /*with_plan=*/true);
  }

  const Cell& cell(int index) const { return compilation.model.cells.at(static_cast<size_t>(index)); }

  Compilation compilation;
  const RouteModel& model = compilation.model;
};

TEST_F(BuiltInScenario, CompilesWithoutBuildError) {
  EXPECT_EQ(compilation.status, CompileStatus::compiled);
  EXPECT_EQ(compilation.error.number(), 0);
  EXPECT_EQ(model.last_cell_index(), 1000);
}

TEST_F(BuiltInScenario, SpeedLimitsPerCellRange) {
  struct Range {
    int first, last;
    uint8_t speed_limit;
  };
  for (const Range& r : {Range{0, 17, 6}, Range{18, 61, 16}, Range{62, 80, 12}, Range{81, 258, 16}, Range{259, 997, 17},
                         Range{998, 1000, 0}}) {
    for (int c = r.first; c <= r.last; ++c) EXPECT_EQ(cell(c).speed_limit, r.speed_limit) << "cell " << c;
  }
}

TEST_F(BuiltInScenario, StationsAndTheirCells) {
  const TableRecord& first = model.table[1];
  EXPECT_EQ(first.text, "VALDORENA C.le");
  EXPECT_EQ(first.start, -300);
  EXPECT_EQ(first.end, 300);
  EXPECT_EQ(first.time, (13 * 60 + 10) * 60);
  EXPECT_EQ(cell(5).marker, kStopPoint);
  EXPECT_EQ(cell(5).value1, 1);
  EXPECT_EQ(cell(4).approach_code, 81);
  EXPECT_EQ(cell(3).approach_code, 82);
  EXPECT_EQ(cell(2).approach_code, 83);

  const TableRecord& last = model.table[8];
  EXPECT_EQ(last.text, "MORLAVESA");
  EXPECT_EQ(last.start, 41850);
  EXPECT_EQ(last.end, 42450);
  EXPECT_EQ(cell(848).marker, kStopPoint);
  EXPECT_EQ(cell(848).value1, 8);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(cell(848 - k).approach_code, 80 + k);
  EXPECT_TRUE(model.table[9].text.empty());
}

TEST_F(BuiltInScenario, SignalsAndTheSlowdown) {
  EXPECT_EQ(cell(20).marker, kSignal);
  EXPECT_EQ(cell(20).value4, 3);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(cell(20 - 2 * k).approach_code, 30 + k);
  EXPECT_EQ(cell(647).marker, kSignal);
  EXPECT_EQ(cell(647).signal_time, 115);
  EXPECT_EQ(cell(820).marker, kSignal);
  EXPECT_EQ(cell(820).value1, 22);
  EXPECT_EQ(cell(820).value2, 31);

  EXPECT_EQ(cell(418).marker, kSlowdownWarning);
  EXPECT_EQ(cell(418).value1, 30);
  EXPECT_EQ(cell(442).marker, kSlowdownStart);
  EXPECT_EQ(cell(445).marker, kSlowdownEnd);
  for (int c : {442, 445}) {
    EXPECT_EQ(cell(c).value1, 30);
    EXPECT_EQ(cell(c).value3, 1);
  }
}

TEST_F(BuiltInScenario, CodePointsDerivedAroundTheSlowdown) {
  // Before the start board at 442: 250, 550 (431 holds the 21500 m signal) and 900 m back;
  // before the signal at 410, within 1000 m of the warning board at 418.
  for (int c : {437, 430, 424, 409}) {
    EXPECT_EQ(cell(c).marker, kCodePoint) << "cell " << c;
    EXPECT_EQ(cell(c).value1, 180) << "cell " << c;
  }
  EXPECT_EQ(cell(431).marker, kSignal);
  EXPECT_EQ(cell(410).marker, kSignal);
  int derived = 0;
  for (const Cell& c : model.cells) derived += c.marker == kCodePoint ? 1 : 0;
  EXPECT_EQ(derived, 4);
}

TEST_F(BuiltInScenario, StampsAndIdentityCodes) {
  const TableRecord& scenario_record = model.table[kScenarioRecord];
  EXPECT_EQ(scenario_record.text, "ValdorenaC_Morlavesa");
  EXPECT_EQ(scenario_record.word1, 610);
  EXPECT_EQ(scenario_record.time, 34026);
  EXPECT_EQ(cell(1).value1, 5121);
  EXPECT_EQ(cell(1).value2, 2438);
  EXPECT_EQ(model.table[kTrainNumberRecord].text, "4721");
  EXPECT_EQ(model.table[kKmReferenceThree].start, 12650);
  EXPECT_EQ(model.table[kKmReferenceTwo].end, 137450);
}

}  // namespace
}  // namespace scenario
