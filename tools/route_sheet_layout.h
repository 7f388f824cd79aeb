#pragma once

// Where everything stands on a route sheet and in which colour: the panels
// and lanes, the scales from metres, heights and speeds to the sheet, and the
// palette. Kept apart from the drawing so that tests can tell where a station
// or the profile must show on a rendered sheet.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/compiled_decoder.h"

namespace scenario {

// Left and top inclusive; in sheet units (pixels of the PNG).
struct SheetBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

// Colours as 0xRRGGBB.
namespace sheet_colour {
inline constexpr uint32_t kPaper = 0xFFFFFF;
inline constexpr uint32_t kInk = 0x222222;
inline constexpr uint32_t kQuietInk = 0x6B6B6B;
inline constexpr uint32_t kFrame = 0xC8C8C8;
inline constexpr uint32_t kGrid = 0xEBEBEB;
inline constexpr uint32_t kMapGround = 0xF4F1EA;
inline constexpr uint32_t kTrackCasing = 0x3E4A52;
inline constexpr uint32_t kProfileLine = 0x5D4037;
inline constexpr uint32_t kSpeedLimit = 0x1565C0;
inline constexpr uint32_t kSlowdown = 0xD0021B;
inline constexpr uint32_t kWarningBoard = 0xFFD54F;
inline constexpr uint32_t kStation = 0x7B1FA2;
inline constexpr uint32_t kStationText = 0x4A148C;
inline constexpr uint32_t kSignal = 0x00796B;
inline constexpr uint32_t kSignBoard = 0x8A8A8A;
inline constexpr uint32_t kMountain = 0x8D6E63;
}  // namespace sheet_colour

// Steepness classes of the height profile, gentlest first.
struct SteepnessClass {
  int32_t up_to_per_mille;  // the steepest gradient (either way) of the class
  uint32_t colour;
  const char* label;
};
std::span<const SteepnessClass> steepness_classes();
// The class of a gradient (per mille, rising or falling).
const SteepnessClass& steepness_of(int32_t gradient_per_mille);

// Axis marks: a step of 1, 2 or 5 times a power of ten, and the values on it.
struct AxisMarks {
  double first = 0, last = 0, step = 1;
  std::vector<double> values() const;
};
// Marks that cover [low, high] in at most `most` steps.
AxisMarks nice_marks(double low, double high, int most);
// A step of 1, 2 or 5 times a power of ten at least `at_least` long.
double nice_step(double at_least);

// A metre of the plan whose two coordinates are both finite numbers.
struct MapPoint {
  double metre = 0, x = 0, y = 0;
};
std::optional<MapPoint> plan_point(const DecodedPlan& plan, int32_t metre);

// How the plan shows on the map: turned so that the line's long axis runs
// across from its start on the left (turned, never mirrored: a right-hand
// curve still turns right, the first coordinate growing to the right of the
// second), and scaled to fit the map.
struct MapView {
  double cos_a = 1, sin_a = 0;
  double scale = 1;
  double centre_x = 0, centre_y = 0;  // on the sheet
  double mid_along = 0, mid_across = 0;

  double x(const MapPoint& p) const { return centre_x + (p.x * cos_a + p.y * sin_a - mid_along) * scale; }
  double y(const MapPoint& p) const { return centre_y - (p.y * cos_a - p.x * sin_a - mid_across) * scale; }
};

struct RouteSheetLayout {
  double width = 1600;
  double height = 0;
  SheetBox title;
  std::optional<SheetBox> map;  // only with the line plan
  MapView map_view;
  std::vector<MapPoint> track;    // the route's points for the map, a few thousand at most
  std::vector<MapPoint> run_out;  // the points beyond the route's end
  SheetBox profile;                // height profile, speed limit and slowdowns
  SheetBox route_axis;             // route kilometres under the profile
  SheetBox station_lane;
  SheetBox signal_lane;
  SheetBox board_lane;
  SheetBox mountain_lane;
  SheetBox km_lane;  // line kilometres from the kilometre references
  SheetBox legend;

  double route_end_m = 0;   // the sheet runs from 0 to here
  int32_t route_cells = 0;  // cells 0 .. route_cells - 1 lie on the route
  AxisMarks heights;        // metres above the start
  AxisMarks speeds;         // km/h, from 0

  double x_at(double metres) const { return profile.left + metres / route_end_m * profile.width(); }
  double y_at_height(double metres) const {
    return profile.bottom - (metres - heights.first) / (heights.last - heights.first) * profile.height();
  }
  double y_at_speed(double kmh) const { return profile.bottom - kmh / speeds.last * profile.height(); }
};

// The layout for a scenario; it needs the cells. Heights come from the
// cells' gradients over the route (core's heights_m).
RouteSheetLayout lay_out_route_sheet(const DecodedScenario& scenario);

}  // namespace scenario
