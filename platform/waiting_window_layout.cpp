#include "platform/waiting_window_layout.h"

#include <cmath>

namespace scenario {

int twips_to_pixels(int twips, double dots_per_inch) {
  return static_cast<int>(std::lround(twips * dots_per_inch / 1440.0));
}

int points_to_pixels(int points, double dots_per_inch) {
  return static_cast<int>(std::lround(points * dots_per_inch / 72.0));
}

WaitingWindowPixels waiting_window_pixels(double horizontal_dpi, double vertical_dpi) {
  return WaitingWindowPixels{
      twips_to_pixels(kClientWidthTwips, horizontal_dpi), twips_to_pixels(kClientHeightTwips, vertical_dpi),
      twips_to_pixels(kLabelLeftTwips, horizontal_dpi),   twips_to_pixels(kLabelTopTwips, vertical_dpi),
      twips_to_pixels(kLabelWidthTwips, horizontal_dpi),  twips_to_pixels(kLabelHeightTwips, vertical_dpi),
      points_to_pixels(kWaitingFontPoints, vertical_dpi),
  };
}

}  // namespace scenario
