#include "compiler/compiled_meaning.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "compiler/compile.h"

namespace scenario {
namespace {

// A plan laid as the line reader lays it: metres 0 and 1 integers heading along
// the second coordinate, then `straight` straight metres and `turning` metres
// turning by `turn` each, then two empty metres.
DecodedPlan plan_of(int straight, int turning, double turn) {
  const int32_t last = 2 + straight + turning + 1;
  std::vector<double> x(static_cast<size_t>(last) + 1, 0), y(static_cast<size_t>(last) + 1, 0);
  y[1] = 1;
  for (int32_t m = 2; m <= last - 2; ++m) {
    const size_t i = static_cast<size_t>(m);
    const double d0 = x[i - 1] - x[i - 2], d1 = y[i - 1] - y[i - 2];
    const double t = m >= 2 + straight ? turn : 0;
    x[i] = x[i - 1] + d0 + t * d1;
    y[i] = y[i - 1] + d1 - t * d0;
  }
  DecodedPlan plan;
  plan.last_metre = last;
  for (const std::vector<double>* coordinate : {&x, &y}) {
    for (int32_t m = 0; m <= last; ++m) {
      const PlanTag tag = m < 2 ? kPlanTagInt16 : m > last - 2 ? kPlanTagEmpty : kPlanTagDouble;
      plan.entries.push_back({tag, tag == kPlanTagEmpty ? 0 : (*coordinate)[static_cast<size_t>(m)]});
    }
  }
  return plan;
}

TEST(PlanSummary, BoundsLengthAndTurnsWithRightHandCurvesPositive) {
  // 100 m straight, then a quarter circle to the right: 1571 metres turning by 0.001.
  const PlanSummary right = summarize_plan(plan_of(100, 1571, 0.001));
  EXPECT_EQ(right.last_point_metre, right.last_metre - 2);
  EXPECT_EQ(right.empty_entries, 4u);
  EXPECT_EQ(right.integer_entries, 4u);
  EXPECT_NEAR(right.total_turn_rad, std::numbers::pi / 2, 0.002);
  EXPECT_NEAR(right.net_turn_rad, std::numbers::pi / 2, 0.002);
  // Turning right from heading along the second coordinate, the track ends toward growing first.
  EXPECT_NEAR(right.end_x, 1000, 10);
  EXPECT_NEAR(right.end_y, 1100, 10);
  EXPECT_NEAR(right.max_x, right.end_x, 1e-9);
  EXPECT_EQ(right.min_x, 0);

  const PlanSummary left = summarize_plan(plan_of(100, 1571, -0.001));
  EXPECT_NEAR(left.net_turn_rad, -std::numbers::pi / 2, 0.002);
  EXPECT_NEAR(left.min_x, -1000, 10);

  const PlanSummary straight = summarize_plan(plan_of(500, 0, 0));
  EXPECT_NEAR(straight.total_turn_rad, 0, 1e-9);
  EXPECT_NEAR(straight.track_length_m, straight.last_point_metre, 1e-6);
}

TEST(PlanSummary, APlanWithoutTwoNumbersAtAnyMetreHasNoPoints) {
  DecodedPlan plan;
  plan.last_metre = 3;
  plan.entries.assign(8, DecodedPlanEntry{});
  plan.entries[1] = {kPlanTagDouble, std::nan("")};
  plan.entries[5] = {kPlanTagDouble, 4.0};
  const PlanSummary summary = summarize_plan(plan);
  EXPECT_EQ(summary.point_count, 0);
  EXPECT_EQ(summary.last_point_metre, -1);
  EXPECT_EQ(summary.number_entries, 2u);
}

TEST(KmReferences, ReadingsFromTheLastReferenceAtOrBeforeThePosition) {
  CompiledTable table{};
  const auto reference = [](int32_t from, int32_t value, int32_t direction) {
    TableRecord r;
    r.start = from;
    r.end = value;
    r.position = direction;
    return r;
  };
  table[kKmReferenceThree] = reference(12650, 112100, 0);
  table[kKmReferenceTwo] = reference(0, 137450, 1);  // stored with the 100 a falling reference gets
  const std::vector<KmReference> references = km_references(table);
  ASSERT_EQ(references.size(), 2u);
  EXPECT_EQ(references[0].from_m, 0);
  EXPECT_EQ(references[0].value_m, 137350);
  EXPECT_EQ(km_reading_m(references, 12600), 124750);
  EXPECT_EQ(km_reading_m(references, 13800), 125900);
  EXPECT_EQ(km_text(124750), "124+750");
  EXPECT_EQ(km_text(-50), "-0+050");

  table[kKmReferenceTwo] = TableRecord{};
  EXPECT_EQ(km_reading_m(km_references(table), 12600), std::nullopt);
}

TEST(MarkChecks, StampsAndIdentityCodesAgainstTheNames) {
  DecodedScenario s;
  s.cells = std::vector<Cell>(1001);
  (*s.cells)[1].value1 = kCellStamp;
  (*s.cells)[1].value2 = 2438;
  s.table = CompiledTable{};
  (*s.table)[kScenarioRecord].text = "ValdorenaC_Morlavesa";
  (*s.table)[kScenarioRecord].word1 = kTableStamp;
  (*s.table)[kScenarioRecord].time = 34026;
  (*s.table)[kTrainNumberRecord].text = "4721";
  for (const MarkCheck& check : check_marks(s)) EXPECT_TRUE(check.ok()) << check.what;

  // Another train number: both identity codes no longer fit; the stamps still do.
  (*s.table)[kTrainNumberRecord].text = "4722";
  int wrong = 0;
  for (const MarkCheck& check : check_marks(s)) wrong += check.ok() ? 0 : 1;
  EXPECT_EQ(wrong, 2);
}

TEST(RecordRoles, StationsUpFromOneBoardTextsDownFromEighty) {
  CompiledTable table{};
  table[1] = TableRecord{7, -300, 300, 0, 1, "A"};
  table[2] = TableRecord{12, 2700, 3200, 2950, 0, "B"};
  table[80].text = "(F)";
  table[79].text = "(Ponte)";
  table[40].word2 = 3;  // something no reader writes there
  const std::array<RecordRole, kTableRecords> roles = record_roles(table);
  EXPECT_EQ(roles[0], RecordRole::cleared);
  EXPECT_EQ(roles[1], RecordRole::station);
  EXPECT_EQ(roles[2], RecordRole::station);
  EXPECT_EQ(roles[3], RecordRole::cleared);
  EXPECT_EQ(roles[40], RecordRole::other);
  EXPECT_EQ(roles[79], RecordRole::board_text);
  EXPECT_EQ(roles[80], RecordRole::board_text);
  EXPECT_EQ(roles[83], RecordRole::km_reference);
  EXPECT_EQ(roles[86], RecordRole::train_number);
  EXPECT_EQ(station_length_m(table[1]), 300);  // kind 7 reaches back its whole length
  EXPECT_EQ(station_length_m(table[2]), 500);  // the others lie half before their position
}

}  // namespace
}  // namespace scenario
