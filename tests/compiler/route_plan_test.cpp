#include "compiler/route_plan.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace scenario {
namespace {

// The coordinates the tests give metre m (from metre 2 on).
double first_of(int32_t metre) { return metre + 0.5; }
double second_of(int32_t metre) { return -0.25 * metre; }

void put_u16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

// The line plan file as the compiled layout states it, entry after entry: all
// of coordinate 0, then all of coordinate 1, metres 0 and 1 whole numbers
// (0, 0) and (0, 1), later metres doubles, the metres from `filled` on empty.
std::string file_by_layout(int32_t last_metre, int32_t filled) {
  std::string out;
  for (int coordinate = 0; coordinate < 2; ++coordinate) {
    for (int32_t metre = 0; metre <= last_metre; ++metre) {
      if (metre >= filled) {
        put_u16(out, 0);
      } else if (metre < 2) {
        put_u16(out, 2);
        put_u16(out, static_cast<uint16_t>(coordinate == 1 && metre == 1 ? 1 : 0));
      } else {
        put_u16(out, 5);
        const auto bits = std::bit_cast<uint64_t>(coordinate == 0 ? first_of(metre) : second_of(metre));
        for (int byte = 0; byte < 8; ++byte) out += static_cast<char>((bits >> (8 * byte)) & 0xFF);
      }
    }
  }
  return out;
}

RoutePlan plan_filled_to(int32_t last_metre, int32_t filled) {
  RoutePlan plan(last_metre);
  if (filled > 0) plan.add_whole_metre(0, 0);
  if (filled > 1) plan.add_whole_metre(0, 1);
  for (int32_t metre = 2; metre < filled; ++metre) plan.add_metre(first_of(metre), second_of(metre));
  return plan;
}

TEST(RoutePlan, FileBytesFollowTheLayoutHoweverFarThePlanIsFilled) {
  struct Case {
    const char* what;
    int32_t last_metre;
    int32_t filled;
    size_t file_size;
  };
  const Case cases[] = {
      {"never started", 6, 0, 28},
      {"stopped after the two whole metres", 6, 2, 36},
      {"stopped after metre 2", 6, 3, 52},
      {"filled to metre N - 2, as every complete reading", 6, 5, 84},
      {"a curve on to metre N - 1", 6, 6, 100},
      {"a curve on to metre N", 6, 7, 116},
      {"the built-in route's plan", 50000, 49999, 999964},
  };
  for (const Case& c : cases) {
    RoutePlan plan = plan_filled_to(c.last_metre, c.filled);
    EXPECT_EQ(plan.filled_metres(), c.filled) << c.what;
    // What the plan holds reads the same while it is filled and once it is finished.
    for (int pass = 0; pass < 2; ++pass) {
      for (int32_t metre = 0; metre <= c.last_metre; ++metre) {
        const PlanEntry first = plan.entry(metre, 0);
        const PlanEntry second = plan.entry(metre, 1);
        if (metre >= c.filled) {
          EXPECT_EQ(first, PlanEntry{PlanEmpty{}}) << c.what << ", metre " << metre;
          EXPECT_EQ(second, PlanEntry{PlanEmpty{}}) << c.what << ", metre " << metre;
        } else if (metre < 2) {
          EXPECT_EQ(first, PlanEntry{int16_t{0}}) << c.what << ", metre " << metre;
          EXPECT_EQ(second, PlanEntry{static_cast<int16_t>(metre)}) << c.what << ", metre " << metre;
          EXPECT_EQ(plan.point(metre).second, static_cast<double>(metre)) << c.what << ", metre " << metre;
        } else {
          EXPECT_EQ(first, PlanEntry{first_of(metre)}) << c.what << ", metre " << metre;
          EXPECT_EQ(second, PlanEntry{second_of(metre)}) << c.what << ", metre " << metre;
          EXPECT_EQ(plan.point(metre).first, first_of(metre)) << c.what << ", metre " << metre;
          EXPECT_EQ(plan.point(metre).second, second_of(metre)) << c.what << ", metre " << metre;
        }
      }
      plan.finish();
    }
    EXPECT_EQ(plan.file_bytes().size(), c.file_size) << c.what;
    EXPECT_TRUE(plan.file_bytes() == file_by_layout(c.last_metre, c.filled)) << c.what;
  }
}

TEST(RoutePlan, FillingOutOfOrderIsAFaultOfOurs) {
  RoutePlan plan(3);
  EXPECT_THROW(plan.add_metre(1.0, 2.0), std::logic_error);  // metre 0 holds whole numbers
  EXPECT_THROW(plan.point(0), std::logic_error);             // not computed yet
  EXPECT_THROW(plan.file_bytes(), std::logic_error);         // still being filled
  plan.add_whole_metre(0, 0);
  plan.add_whole_metre(0, 1);
  EXPECT_THROW(plan.add_whole_metre(0, 2), std::logic_error);  // metre 2 holds doubles
  plan.add_metre(0.0, 2.0);
  plan.finish();
  EXPECT_THROW(plan.add_metre(0.0, 3.0), std::logic_error);  // finished

  RoutePlan full = plan_filled_to(3, 4);
  EXPECT_THROW(full.add_metre(0.0, 4.0), std::logic_error);  // past metre N
  EXPECT_THROW(full.entry(4, 0), std::logic_error);
}

}  // namespace
}  // namespace scenario
