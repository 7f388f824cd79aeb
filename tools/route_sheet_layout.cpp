#include "tools/route_sheet_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "compiler/compiled_meaning.h"

namespace scenario {
namespace {

constexpr double kLeftMargin = 150;  // lane names and height labels
constexpr double kRightMargin = 90;  // speed labels
constexpr double kMapPadding = 46;   // room for the station names around the track

SheetBox band(double& y, double band_height, double left, double right) {
  const SheetBox box{left, y, right, y + band_height};
  y += band_height;
  return box;
}

// The route's points, and those of the run-out beyond its end, at a spacing
// that keeps them to a few thousand however long the route.
void sample_track(const DecodedPlan& plan, double route_end_m, RouteSheetLayout& layout) {
  const auto route_end = static_cast<int32_t>(std::min<double>(route_end_m, plan.last_metre));
  const int32_t stride = std::max(1, route_end / 5000);
  for (int32_t m = 0; m <= plan.last_metre; m += stride) {
    if (const auto p = plan_point(plan, m)) (m <= route_end ? layout.track : layout.run_out).push_back(*p);
    if (m < route_end && m + stride > route_end) {
      if (const auto p = plan_point(plan, route_end)) layout.track.push_back(*p);
    }
  }
}

// Turns the track along its long axis, pointing from its first point toward its last, and
// returns the height the map needs at that scale.
double fit_map(RouteSheetLayout& layout, double width) {
  const std::vector<MapPoint>& track = layout.track;
  MapView& view = layout.map_view;
  double mean_x = 0, mean_y = 0;
  for (const MapPoint& p : track) {
    mean_x += p.x;
    mean_y += p.y;
  }
  mean_x /= static_cast<double>(track.size());
  mean_y /= static_cast<double>(track.size());
  double sxx = 0, syy = 0, sxy = 0;
  for (const MapPoint& p : track) {
    sxx += (p.x - mean_x) * (p.x - mean_x);
    syy += (p.y - mean_y) * (p.y - mean_y);
    sxy += (p.x - mean_x) * (p.y - mean_y);
  }
  double axis = 0.5 * std::atan2(2 * sxy, sxx - syy);
  if ((track.back().x - track.front().x) * std::cos(axis) + (track.back().y - track.front().y) * std::sin(axis) < 0) {
    axis += std::numbers::pi;
  }
  view.cos_a = std::cos(axis);
  view.sin_a = std::sin(axis);
  const auto along = [&](const MapPoint& p) { return p.x * view.cos_a + p.y * view.sin_a; };
  const auto across = [&](const MapPoint& p) { return p.y * view.cos_a - p.x * view.sin_a; };
  double min_along = along(track[0]), max_along = min_along, min_across = across(track[0]), max_across = min_across;
  for (const MapPoint& p : track) {
    min_along = std::min(min_along, along(p));
    max_along = std::max(max_along, along(p));
    min_across = std::min(min_across, across(p));
    max_across = std::max(max_across, across(p));
  }
  const double extent_along = std::max(max_along - min_along, 1.0);
  const double extent_across = std::max(max_across - min_across, 1.0);
  view.mid_along = (min_along + max_along) / 2;
  view.mid_across = (min_across + max_across) / 2;
  const double inner_width = width - 2 * kMapPadding;
  const double height = std::clamp(inner_width * extent_across / extent_along + 2 * kMapPadding, 320.0, 520.0);
  view.scale = std::min(inner_width / extent_along, (height - 2 * kMapPadding) / extent_across);
  return height;
}

}  // namespace

std::optional<MapPoint> plan_point(const DecodedPlan& plan, int32_t metre) {
  if (metre < 0 || metre > plan.last_metre) return std::nullopt;
  const DecodedPlanEntry& x = plan.at(metre, 0);
  const DecodedPlanEntry& y = plan.at(metre, 1);
  if (!x.is_number() || !y.is_number() || !std::isfinite(x.value) || !std::isfinite(y.value)) return std::nullopt;
  return MapPoint{static_cast<double>(metre), x.value, y.value};
}

std::span<const SteepnessClass> steepness_classes() {
  static constexpr SteepnessClass classes[] = {
      {2, 0xB7DDB0, "level (up to 2 ‰)"}, {10, 0xE4E69C, "up to 10 ‰"},  {20, 0xF7C873, "up to 20 ‰"},
      {30, 0xEE9A5B, "up to 30 ‰"},       {1000, 0xC9563F, "over 30 ‰"},
  };
  return classes;
}

const SteepnessClass& steepness_of(int32_t gradient_per_mille) {
  const std::span<const SteepnessClass> classes = steepness_classes();
  for (const SteepnessClass& c : classes) {
    if (std::abs(gradient_per_mille) <= c.up_to_per_mille) return c;
  }
  return classes.back();
}

double nice_step(double at_least) {
  if (!(at_least > 0) || !std::isfinite(at_least)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(at_least)));
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (factor * power >= at_least * (1 - 1e-9)) return factor * power;
  }
  return 10 * power;
}

AxisMarks nice_marks(double low, double high, int most) {
  if (!(high > low)) high = low + 1;
  AxisMarks marks;
  marks.step = nice_step((high - low) / most);
  marks.first = std::floor(low / marks.step) * marks.step;
  marks.last = std::ceil(high / marks.step) * marks.step;
  if (marks.last <= marks.first) marks.last = marks.first + marks.step;
  return marks;
}

std::vector<double> AxisMarks::values() const {
  std::vector<double> out;
  const auto count = static_cast<int64_t>(std::llround((last - first) / step));
  for (int64_t i = 0; i <= count; ++i) out.push_back(first + static_cast<double>(i) * step);
  return out;
}

RouteSheetLayout lay_out_route_sheet(const DecodedScenario& scenario) {
  RouteSheetLayout layout;
  const std::vector<Cell>& cells = *scenario.cells;
  const auto cell_count = static_cast<int32_t>(cells.size());
  const int32_t length = route_length_m(scenario).value_or(0);
  // A route too short or a length that the cells do not reach: the sheet shows the cells there are.
  layout.route_end_m = std::clamp<double>(length, kCellLength, static_cast<double>(cell_count) * kCellLength);
  layout.route_cells = std::clamp(static_cast<int32_t>(std::ceil(layout.route_end_m / kCellLength)), 1, cell_count);

  const std::vector<double> heights = heights_m(cells);
  const auto route_heights = std::span(heights).first(static_cast<size_t>(layout.route_cells) + 1);
  const auto [low, high] = std::minmax_element(route_heights.begin(), route_heights.end());
  layout.heights = nice_marks(*low, *high, 5);
  int32_t fastest = 0;
  for (int32_t k = 0; k < layout.route_cells; ++k) {
    fastest = std::max(fastest, speed_limit_kmh(cells[static_cast<size_t>(k)]));
  }
  layout.speeds = nice_marks(0, std::max(fastest, 20) * 1.12, 5);

  const double left = kLeftMargin;
  const double right = layout.width - kRightMargin;
  double y = 0;
  layout.title = band(y, 80, 40, layout.width - 40);
  if (scenario.plan) {
    sample_track(*scenario.plan, layout.route_end_m, layout);
    const double map_height = layout.track.size() >= 2 ? fit_map(layout, right - left) : 120;
    y += 8;
    layout.map = band(y, map_height, left, right);
    layout.map_view.centre_x = (layout.map->left + layout.map->right) / 2;
    layout.map_view.centre_y = (layout.map->top + layout.map->bottom) / 2;
    y += 26;
  } else {
    y += 14;
  }
  layout.profile = band(y, 300, left, right);
  layout.route_axis = band(y, 30, left, right);
  layout.station_lane = band(y, 74, left, right);
  layout.signal_lane = band(y, 26, left, right);
  layout.board_lane = band(y, 28, left, right);
  layout.mountain_lane = band(y, 20, left, right);
  layout.km_lane = band(y, 36, left, right);
  y += 8;
  layout.legend = band(y, 48, 40, layout.width - 40);
  layout.height = y + 14;
  return layout;
}

}  // namespace scenario
