#include "compiler/compile.h"

#include <gtest/gtest.h>

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
