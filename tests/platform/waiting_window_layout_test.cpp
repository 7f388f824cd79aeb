#include "platform/waiting_window_layout.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(WaitingWindowLayout, TwipsAndPointsFollowTheScreenResolution) {
  struct Case {
    double horizontal_dpi;
    double vertical_dpi;
    WaitingWindowPixels expected;
  };
  const Case cases[] = {
      // 15 twips a pixel: the form as it was designed.
      {96, 96, {280, 179, 64, 64, 177, 53, 32}},
      // Large fonts; 2688 twips at 120 dpi is 224 exactly.
      {120, 120, {350, 224, 80, 80, 221, 66, 40}},
      // An X screen whose millimetres do not divide evenly.
      {95.9, 95.9, {280, 179, 64, 64, 177, 53, 32}},
      // Each direction keeps its own resolution.
      {96, 144, {280, 269, 64, 96, 177, 79, 48}},
  };
  for (const Case& c : cases) {
    const WaitingWindowPixels px = waiting_window_pixels(c.horizontal_dpi, c.vertical_dpi);
    SCOPED_TRACE(::testing::Message() << c.horizontal_dpi << " x " << c.vertical_dpi << " dpi");
    EXPECT_EQ(px.client_width, c.expected.client_width);
    EXPECT_EQ(px.client_height, c.expected.client_height);
    EXPECT_EQ(px.label_left, c.expected.label_left);
    EXPECT_EQ(px.label_top, c.expected.label_top);
    EXPECT_EQ(px.label_width, c.expected.label_width);
    EXPECT_EQ(px.label_height, c.expected.label_height);
    EXPECT_EQ(px.font_height, c.expected.font_height);
  }
}

TEST(WaitingWindowLayout, HalvesRoundAwayFromZero) {
  EXPECT_EQ(twips_to_pixels(30, 72), 2);  // 1.5
  EXPECT_EQ(twips_to_pixels(50, 72), 3);  // 2.5: not to the even neighbour
  EXPECT_EQ(points_to_pixels(9, 4), 1);   // 0.5
}

}  // namespace
}  // namespace scenario
