#include "compiler/identity_codes.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

struct Codes {
  int32_t route;
  int32_t table;
};

Codes codes_for(const std::string& scenario_name, const std::string& train_number) {
  RouteModel model;
  model.table[kScenarioRecord].text = scenario_name;
  model.table[kTrainNumberRecord].text = train_number;
  return {route_identity_code(model), table_identity_code(model)};
}

TEST(IdentityCodes, BuiltInIdentityTakesOneFillerLetter) {
  RouteModel model;
  model.table[kScenarioRecord].text = "ValdorenaC_Morlavesa";
  model.table[kTrainNumberRecord].text = "4721";
  EXPECT_EQ(identity_text(model), "4721valdorenac_morlavesap");
  EXPECT_EQ(route_identity_code(model), 2438);
  EXPECT_EQ(table_identity_code(model), 34026);
}

TEST(IdentityCodes, Properties) {
  // Both texts empty: the filler without its last letter.
  EXPECT_EQ(codes_for("", "").route, 2911);
  EXPECT_EQ(codes_for("", "").table, 38130);

  const Codes lower = codes_for("valdorenac_morlavesa", "4721");
  const Codes upper = codes_for("VALDORENAC_MORLAVESA", "4721");
  EXPECT_EQ(lower.route, upper.route);
  EXPECT_EQ(lower.table, upper.table);
  // Accented capitals count as their small letters.
  EXPECT_EQ(codes_for("\xC8", "").table, codes_for("\xE8", "").table);

  // Train number comes first: exchanging the texts moves the weights.
  EXPECT_NE(codes_for("AB", "12").table, codes_for("12", "AB").table);
  EXPECT_EQ(codes_for("AB", "12").route, codes_for("12", "AB").route);

  // Past 25 characters nothing counts.
  const std::string long_name(25, 'z');
  EXPECT_EQ(codes_for(long_name, "").table, codes_for(long_name + "tail", "").table);
  EXPECT_EQ(codes_for(long_name, "").route, 25 * 'z');

  // The largest codes fit their slots.
  const Codes top = codes_for(std::string(25, '\xFF'), "");
  EXPECT_EQ(top.route, 6375);
  EXPECT_EQ(top.table, 82875);
}

}  // namespace
}  // namespace scenario
