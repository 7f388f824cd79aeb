#include "tools/route_sheet.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <stdexcept>

#include "compiler/compiled_meaning.h"
#include "source/windows1252.h"
#include "tools/report_text.h"
#include "tools/route_sheet_layout.h"

namespace scenario {
namespace {

using std::to_string;
namespace colour = sheet_colour;

// ---- drawing helpers ----

void set_colour(cairo_t* cr, uint32_t rgb, double alpha = 1) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha);
}

void fill_box(cairo_t* cr, const SheetBox& box, uint32_t rgb, double alpha = 1) {
  set_colour(cr, rgb, alpha);
  cairo_rectangle(cr, box.left, box.top, box.width(), box.height());
  cairo_fill(cr);
}

void frame_box(cairo_t* cr, const SheetBox& box, uint32_t rgb) {
  set_colour(cr, rgb);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, box.left + 0.5, box.top + 0.5, box.width() - 1, box.height() - 1);
  cairo_stroke(cr);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1, uint32_t rgb, double width, double alpha = 1) {
  set_colour(cr, rgb, alpha);
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

enum class Align { left, centre, right };

struct Font {
  double size = 12;
  bool bold = false;
  bool italic = false;
};

void use_font(cairo_t* cr, const Font& font) {
  cairo_select_font_face(cr, "DejaVu Sans", font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.size);
}

double text_width(cairo_t* cr, const std::string& text, const Font& font) {
  use_font(cr, font);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  return extents.x_advance;
}

// The box a text would cover with its baseline at y.
SheetBox text_box(cairo_t* cr, double x, double baseline, const std::string& text, const Font& font, Align align) {
  const double width = text_width(cr, text, font);
  const double left = align == Align::left ? x : align == Align::centre ? x - width / 2 : x - width;
  return {left, baseline - font.size * 0.8, left + width, baseline + font.size * 0.25};
}

// Draws a text; a halo in the paper's colour keeps it legible over lines.
SheetBox text(cairo_t* cr, double x, double baseline, const std::string& text, const Font& font, Align align,
              uint32_t rgb, bool halo = false) {
  const SheetBox box = text_box(cr, x, baseline, text, font, align);
  use_font(cr, font);
  cairo_move_to(cr, box.left, baseline);
  if (halo) {
    cairo_text_path(cr, text.c_str());
    set_colour(cr, colour::kPaper, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_move_to(cr, box.left, baseline);
  }
  set_colour(cr, rgb);
  cairo_show_text(cr, text.c_str());
  cairo_new_path(cr);
  return box;
}

// Places labels where no earlier one stands.
class LabelSpace {
 public:
  bool is_free(const SheetBox& box, double gap = 3) const {
    return std::none_of(taken_.begin(), taken_.end(), [&](const SheetBox& t) {
      return box.left < t.right + gap && t.left < box.right + gap && box.top < t.bottom + gap &&
             t.top < box.bottom + gap;
    });
  }
  void take(const SheetBox& box) { taken_.push_back(box); }

 private:
  std::vector<SheetBox> taken_;
};

bool inside(const SheetBox& outer, const SheetBox& box) {
  return box.left >= outer.left && box.right <= outer.right && box.top >= outer.top && box.bottom <= outer.bottom;
}

// ---- symbols, shared by the lanes and the legend ----

// A mast from `foot` up to a head centred at `head_y`.
void draw_signal_symbol(cairo_t* cr, double x, double head_y, double foot, bool head = true) {
  line(cr, x, foot, x, head_y + 1, colour::kInk, 1.2);
  if (!head) return;
  set_colour(cr, colour::kSignal);
  cairo_arc(cr, x, head_y, 4.2, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
}

void draw_sign_board(cairo_t* cr, double x, double mid) {
  fill_box(cr, {x - 2, mid - 6, x + 2, mid + 6}, colour::kSignBoard);
}

// A yellow triangle edged in red, centred at (x, mid).
void draw_warning_board(cairo_t* cr, double x, double mid) {
  cairo_move_to(cr, x, mid - 7);
  cairo_line_to(cr, x + 7, mid + 6);
  cairo_line_to(cr, x - 7, mid + 6);
  cairo_close_path(cr);
  set_colour(cr, colour::kWarningBoard);
  cairo_fill_preserve(cr);
  set_colour(cr, colour::kSlowdown);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
}

// A white board framed in the speed limit's colour, `half` wide either side of x, with its speed.
void draw_speed_board(cairo_t* cr, double x, double mid, double half, const std::string& speed) {
  cairo_new_path(cr);
  cairo_rectangle(cr, x - half, mid - 8.5, 2 * half, 17);
  set_colour(cr, colour::kPaper);
  cairo_fill_preserve(cr);
  set_colour(cr, colour::kSpeedLimit);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  if (!speed.empty()) text(cr, x, mid + 4, speed, {10, true}, Align::centre, colour::kSpeedLimit);
}

// ---- what the sheet shows, gathered once ----

struct Station {
  std::string name;
  int32_t position_m = 0;
  int32_t time_s = 0;
};

struct SheetData {
  const DecodedScenario& scenario;
  const RouteSheetLayout& layout;
  const std::vector<Cell>& cells;
  std::vector<double> heights;  // at the start of every cell
  std::vector<Station> stations;
  std::vector<KmReference> references;
  std::vector<SlowdownExtent> slowdowns;

  double height_at(double metres) const {
    const double cell = std::clamp(metres / kCellLength, 0.0, static_cast<double>(cells.size()));
    const auto k = static_cast<size_t>(std::min(std::floor(cell), static_cast<double>(cells.size() - 1)));
    return heights[k] + gradient_per_mille(cells[k]) / 1000.0 * (metres - static_cast<double>(k) * kCellLength);
  }
  size_t count_markers(uint8_t marker) const {
    return static_cast<size_t>(
        std::count_if(cells.begin(), cells.end(), [&](const Cell& c) { return c.marker == marker; }));
  }
};

SheetData gather(const DecodedScenario& scenario, const RouteSheetLayout& layout) {
  SheetData data{scenario, layout, *scenario.cells, heights_m(*scenario.cells), {}, {}, slowdowns_of(*scenario.cells)};
  if (scenario.table) {
    const std::array<RecordRole, kTableRecords> roles = record_roles(*scenario.table);
    for (int i = 0; i < kTableRecords; ++i) {
      const TableRecord& r = (*scenario.table)[static_cast<size_t>(i)];
      if (roles[static_cast<size_t>(i)] == RecordRole::station) {
        data.stations.push_back({cp1252_to_utf8(r.text), r.position, r.time});
      }
    }
    std::stable_sort(data.stations.begin(), data.stations.end(),
                     [](const Station& a, const Station& b) { return a.position_m < b.position_m; });
    data.references = km_references(*scenario.table);
  }
  return data;
}

bool on_route(const SheetData& data, double metres) { return metres >= 0 && metres <= data.layout.route_end_m; }

// Line kilometre marks: route positions where the reading is a whole step.
struct KmMark {
  double position_m;
  double reading_m;
};
std::vector<KmMark> km_marks(const SheetData& data, double step_m) {
  std::vector<KmMark> marks;
  const auto& refs = data.references;
  for (size_t i = 0; i < refs.size(); ++i) {
    const double from = std::max<double>(refs[i].from_m, 0);
    const double to =
        std::min<double>(i + 1 < refs.size() ? refs[i + 1].from_m : data.layout.route_end_m, data.layout.route_end_m);
    if (to <= from) continue;
    const double a = refs[i].reading_at(from), b = refs[i].reading_at(to);
    const double low = std::min(a, b), high = std::max(a, b);
    for (double reading = std::ceil(low / step_m) * step_m; reading <= high; reading += step_m) {
      const double position = refs[i].falling ? refs[i].value_m - reading : reading - refs[i].value_m;
      if (position >= from && position < to) marks.push_back({position, reading});
    }
  }
  return marks;
}

// The step between line kilometre marks so that their labels keep `spacing` apart.
double km_step(const RouteSheetLayout& layout, double spacing) {
  return std::max(nice_step(layout.route_end_m * spacing / layout.profile.width()), 100.0);
}

std::string km_label(double reading_m, double step_m) {
  if (step_m >= 1000) return to_string(std::llround(reading_m / 1000));
  return km_text(std::llround(reading_m));
}

std::string signed_metres(double metres) {
  std::string text = metres >= 0.5 ? "+" : "";
  text += fixed(metres, 0);
  text += " m";
  return text;
}

// ---- the parts of the sheet ----

void draw_title(cairo_t* cr, const SheetData& data) {
  const SheetBox& box = data.layout.title;
  const DecodedScenario& s = data.scenario;
  const std::string name = s.table ? cp1252_to_utf8((*s.table)[kScenarioRecord].text) : "Compiled route";
  const SheetBox title = text(cr, box.left, box.top + 38, name, {26, true}, Align::left, colour::kInk);
  if (s.table) {
    text(cr, title.right + 14, box.top + 38, "train " + cp1252_to_utf8((*s.table)[kTrainNumberRecord].text),
         {20, false}, Align::left, colour::kQuietInk);
  }
  const double low = *std::min_element(data.heights.begin(), data.heights.begin() + data.layout.route_cells + 1);
  const double high = *std::max_element(data.heights.begin(), data.heights.begin() + data.layout.route_cells + 1);
  auto count = [](size_t n, const char* one, const char* many) { return to_string(n) + " " + (n == 1 ? one : many); };
  const std::string summary = fixed(data.layout.route_end_m / 1000, 1) + " km  ·  " +
                              count(data.stations.size(), "station", "stations") + "  ·  " +
                              count(data.count_markers(kSignal), "signal", "signals") + "  ·  " +
                              count(data.count_markers(kSpeedBoard), "speed board", "speed boards") + "  ·  " +
                              count(data.count_markers(kSignBoard), "sign board", "sign boards") + "  ·  " +
                              count(data.slowdowns.size(), "slowdown", "slowdowns") + "  ·  heights " +
                              signed_metres(low) + " to " + signed_metres(high) + " from the start";
  text(cr, box.left, box.top + 66, summary, {14, false}, Align::left, colour::kQuietInk);
}

void draw_map(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const SheetBox& box = *l.map;
  const DecodedPlan& plan = *data.scenario.plan;
  const std::vector<MapPoint>& route = l.track;
  const std::vector<MapPoint>& run_out = l.run_out;
  fill_box(cr, box, colour::kMapGround);
  if (route.size() < 2) {
    text(cr, box.left + 16, box.top + 28, "the line plan holds no track to draw", {13, false, true}, Align::left,
         colour::kQuietInk);
    frame_box(cr, box, colour::kFrame);
    return;
  }
  const auto route_end = static_cast<int32_t>(std::min<double>(l.route_end_m, plan.last_metre));
  const auto sx = [&](const MapPoint& p) { return l.map_view.x(p); };
  const auto sy = [&](const MapPoint& p) { return l.map_view.y(p); };
  const double scale = l.map_view.scale;

  cairo_save(cr);
  cairo_rectangle(cr, box.left, box.top, box.width(), box.height());
  cairo_clip(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

  if (run_out.size() > 1) {
    set_colour(cr, colour::kQuietInk, 0.6);
    cairo_set_line_width(cr, 1.5);
    const double dash[] = {6, 5};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, sx(route.back()), sy(route.back()));
    for (const MapPoint& p : run_out) cairo_line_to(cr, sx(p), sy(p));
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  set_colour(cr, colour::kTrackCasing);
  cairo_set_line_width(cr, 7);
  cairo_move_to(cr, sx(route[0]), sy(route[0]));
  for (const MapPoint& p : route) cairo_line_to(cr, sx(p), sy(p));
  cairo_stroke(cr);
  // The track inside its casing in the colours of the profile's steepness.
  cairo_set_line_width(cr, 3.6);
  for (size_t i = 0; i + 1 < route.size();) {
    const auto cell_of = [&](const MapPoint& p) {
      return std::min(static_cast<size_t>(p.metre / kCellLength), data.cells.size() - 1);
    };
    const uint32_t rgb = steepness_of(gradient_per_mille(data.cells[cell_of(route[i])])).colour;
    cairo_move_to(cr, sx(route[i]), sy(route[i]));
    size_t j = i + 1;
    cairo_line_to(cr, sx(route[j]), sy(route[j]));
    while (j + 1 < route.size() && steepness_of(gradient_per_mille(data.cells[cell_of(route[j])])).colour == rgb) {
      ++j;
      cairo_line_to(cr, sx(route[j]), sy(route[j]));
    }
    set_colour(cr, rgb);
    cairo_stroke(cr);
    i = j;
  }

  LabelSpace labels;
  const Font station_font{13, true};
  std::vector<std::pair<const Station*, MapPoint>> placed;
  for (const Station& station : data.stations) {
    if (const auto p = plan_point(plan, std::clamp(station.position_m, 0, route_end)))
      placed.emplace_back(&station, *p);
  }
  for (const auto& [station, p] : placed) {
    const double x = sx(p), y = sy(p);
    labels.take({x - 7, y - 7, x + 7, y + 7});
  }
  for (const auto& [station, p] : placed) {
    const double x = sx(p), y = sy(p);
    set_colour(cr, colour::kPaper);
    cairo_arc(cr, x, y, 6, 0, 2 * std::numbers::pi);
    cairo_fill_preserve(cr);
    set_colour(cr, colour::kStation);
    cairo_set_line_width(cr, 2.6);
    cairo_stroke(cr);
    struct Place {
      double dx, dy;
      Align align;
    };
    for (const Place& place : {Place{11, 5, Align::left}, Place{-11, 5, Align::right}, Place{0, -12, Align::centre},
                               Place{0, 22, Align::centre}}) {
      const SheetBox where = text_box(cr, x + place.dx, y + place.dy, station->name, station_font, place.align);
      if (labels.is_free(where) && inside(box, where)) {
        labels.take(where);
        text(cr, x + place.dx, y + place.dy, station->name, station_font, place.align, colour::kStationText, true);
        break;
      }
    }
  }
  // Line kilometre marks along the track, where there is room.
  for (const KmMark& mark : km_marks(data, km_step(data.layout, 90))) {
    const auto p = plan_point(plan, static_cast<int32_t>(std::lround(mark.position_m)));
    if (!p) continue;
    const double x = sx(*p), y = sy(*p);
    const std::string label = "km " + km_label(mark.reading_m, km_step(data.layout, 90));
    const SheetBox where = text_box(cr, x + 7, y - 6, label, {10}, Align::left);
    set_colour(cr, colour::kInk);
    cairo_arc(cr, x, y, 2.2, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
    if (labels.is_free(where) && inside(box, where)) {
      labels.take(where);
      text(cr, x + 7, y - 6, label, {10}, Align::left, colour::kQuietInk, true);
    }
  }
  cairo_restore(cr);

  // Scale bar, bottom left.
  const double bar_m = nice_step(160 / scale) > 240 / scale ? nice_step(80 / scale) : nice_step(160 / scale);
  const double bar_px = bar_m * scale;
  const double bx = box.left + 18, by = box.bottom - 18;
  fill_box(cr, {bx, by - 5, bx + bar_px, by}, colour::kInk);
  fill_box(cr, {bx + bar_px / 2, by - 4, bx + bar_px - 1, by - 1}, colour::kPaper);
  const std::string bar_label = bar_m >= 1000 ? fixed(bar_m / 1000, 0) + " km" : fixed(bar_m, 0) + " m";
  text(cr, bx + bar_px + 8, by, bar_label, {11}, Align::left, colour::kInk);
  text(cr, box.right - 12, box.bottom - 12, "track plan, turned to run from left to right", {11, false, true},
       Align::right, colour::kQuietInk);
  frame_box(cr, box, colour::kFrame);
}

void draw_profile(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const SheetBox& box = l.profile;
  fill_box(cr, box, colour::kPaper);

  for (double h : l.heights.values()) {
    const double y = std::round(l.y_at_height(h)) + 0.5;
    line(cr, box.left, y, box.right, y, colour::kGrid, 1);
    const std::string label = l.heights.step < 1 ? fixed(h, 1) + " m" : signed_metres(h);
    text(cr, box.left - 8, y + 4, label, {11}, Align::right, colour::kQuietInk);
  }
  text(cr, box.left, box.top - 7, "height above the start", {11, true}, Align::left, colour::kQuietInk);
  text(cr, box.right, box.top - 7, "speed limit (km/h)", {11, true}, Align::right, colour::kSpeedLimit);
  for (double v : l.speeds.values()) {
    const double y = l.y_at_speed(v);
    line(cr, box.right, y, box.right + 5, y, colour::kSpeedLimit, 1);
    text(cr, box.right + 8, y + 4, fixed(v, 0), {11}, Align::left, colour::kSpeedLimit);
  }

  // Station guides first: the profile covers them where it stands higher.
  {
    const double dash[] = {3, 3};
    cairo_set_dash(cr, dash, 2, 0);
    for (const Station& station : data.stations) {
      if (!on_route(data, station.position_m)) continue;
      const double x = std::round(l.x_at(station.position_m)) + 0.5;
      line(cr, x, box.top, x, box.bottom, colour::kStation, 1, 0.45);
    }
    cairo_set_dash(cr, nullptr, 0, 0);
  }

  // The profile, one filled shape per run of cells of the same steepness.
  const int32_t n = l.route_cells;
  const auto boundary = [&](int32_t k) {
    return std::min<double>(static_cast<double>(k) * kCellLength, l.route_end_m);
  };
  for (int32_t first = 0; first < n;) {
    const uint32_t rgb = steepness_of(gradient_per_mille(data.cells[static_cast<size_t>(first)])).colour;
    int32_t last = first;
    while (last + 1 < n && steepness_of(gradient_per_mille(data.cells[static_cast<size_t>(last + 1)])).colour == rgb) {
      ++last;
    }
    // Runs meet on whole units, so that no seam of half-covered pixels shows between them and
    // runs narrower than a pixel give way to their neighbours instead of blending with the paper.
    const double left = std::round(l.x_at(boundary(first)));
    const double right = std::round(l.x_at(boundary(last + 1)));
    cairo_move_to(cr, left, box.bottom);
    cairo_line_to(cr, left, l.y_at_height(data.height_at(boundary(first))));
    for (int32_t k = first + 1; k <= last; ++k) {
      cairo_line_to(cr, std::clamp(l.x_at(boundary(k)), left, right), l.y_at_height(data.height_at(boundary(k))));
    }
    cairo_line_to(cr, right, l.y_at_height(data.height_at(boundary(last + 1))));
    cairo_line_to(cr, right, box.bottom);
    cairo_close_path(cr);
    set_colour(cr, rgb);
    cairo_fill(cr);
    first = last + 1;
  }
  set_colour(cr, colour::kProfileLine);
  cairo_set_line_width(cr, 1.4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (int32_t k = 0; k <= n; ++k) cairo_line_to(cr, l.x_at(boundary(k)), l.y_at_height(data.height_at(boundary(k))));
  cairo_stroke(cr);

  // Slowdowns: a tinted band over their length, named at the top; their speed dips the speed
  // limit (drawn after it).
  struct Dip {
    double x0, x1, line_before, slow, line_after;
  };
  std::vector<Dip> dips;
  LabelSpace labels;
  for (const SlowdownExtent& slowdown : data.slowdowns) {
    const double from = marker_source_position_m(slowdown.start_cell, kSlowdownStart);
    const double to = std::max(from, static_cast<double>(marker_source_position_m(slowdown.end_cell, kSlowdownEnd)));
    if (!on_route(data, from)) continue;
    const double x0 = l.x_at(from), x1 = std::max(l.x_at(to), x0 + 5);
    fill_box(cr, {x0, box.top, x1, box.bottom}, colour::kSlowdown, 0.12);
    const auto line_speed = [&](double metres) {
      const auto k = static_cast<size_t>(std::clamp<double>(metres / kCellLength, 0, n - 1));
      return l.y_at_speed(speed_limit_kmh(data.cells[k]));
    };
    dips.push_back({x0, x1, line_speed(from), l.y_at_speed(std::clamp<double>(slowdown.speed_kmh, 0, l.speeds.last)),
                    line_speed(to)});
    const std::string label = "slowdown " + to_string(slowdown.speed_kmh) + " km/h";
    const SheetBox where = text_box(cr, (x0 + x1) / 2, box.top + 16, label, {11, true}, Align::centre);
    if (labels.is_free(where) && inside(box, where)) {
      labels.take(where);
      text(cr, (x0 + x1) / 2, box.top + 16, label, {11, true}, Align::centre, colour::kSlowdown, true);
    }
  }

  // The speed limit as a step line, cased in white to stand out over the profile.
  cairo_new_path(cr);
  for (int32_t k = 0; k < n; ++k) {
    const double y = l.y_at_speed(speed_limit_kmh(data.cells[static_cast<size_t>(k)]));
    if (k == 0) {
      cairo_move_to(cr, l.x_at(0), y);
    } else {
      cairo_line_to(cr, l.x_at(boundary(k)), y);
    }
    cairo_line_to(cr, l.x_at(boundary(k + 1)), y);
  }
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_path_t* speed_path = cairo_copy_path(cr);
  set_colour(cr, colour::kPaper, 0.85);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  cairo_append_path(cr, speed_path);
  cairo_path_destroy(speed_path);
  set_colour(cr, colour::kSpeedLimit);
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
  for (const Dip& dip : dips) {
    cairo_move_to(cr, dip.x0, dip.line_before);
    cairo_line_to(cr, dip.x0, dip.slow);
    cairo_line_to(cr, dip.x1, dip.slow);
    cairo_line_to(cr, dip.x1, dip.line_after);
    set_colour(cr, colour::kSlowdown);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
  }
  frame_box(cr, box, colour::kFrame);
}

void draw_route_axis(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const double step = std::max(nice_step(l.route_end_m * 64 / l.profile.width()), 100.0);
  for (double m = 0; m <= l.route_end_m + 0.5; m += step) {
    const double x = std::round(l.x_at(m)) + 0.5;
    line(cr, x, l.route_axis.top, x, l.route_axis.top + 5, colour::kInk, 1);
    const std::string label = step >= 1000 ? to_string(std::llround(m / 1000)) : fixed(m / 1000, 1);
    text(cr, x, l.route_axis.top + 18, label, {11}, Align::centre, colour::kInk);
  }
}

void draw_lane_names(cairo_t* cr, const RouteSheetLayout& l) {
  const Font font{12, true};
  const double x = l.profile.left - 12;
  text(cr, x, l.route_axis.top + 18, "route km", font, Align::right, colour::kInk);
  text(cr, x, l.station_lane.top + 20, "stations", font, Align::right, colour::kStation);
  text(cr, x, l.signal_lane.top + 17, "signals", font, Align::right, colour::kSignal);
  text(cr, x, l.board_lane.top + 18, "boards", font, Align::right, colour::kQuietInk);
  text(cr, x, l.mountain_lane.top + 14, "mountains", font, Align::right, colour::kMountain);
  text(cr, x, l.km_lane.top + 20, "line km", font, Align::right, colour::kInk);
}

void draw_stations(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const SheetBox& lane = l.station_lane;
  const Font font{12, true};
  constexpr int kRows = 3;
  const auto baseline_of = [&](int row) { return lane.top + 22 + 22.0 * row; };
  struct Mark {
    double x;
    std::string label;
    std::optional<SheetBox> box;  // where its label stands, if anywhere
  };
  std::vector<Mark> marks;
  std::array<std::vector<SheetBox>, kRows> rows;
  for (const Station& station : data.stations) {
    if (!on_route(data, station.position_m)) continue;
    Mark mark{std::round(l.x_at(station.position_m)), station.name, std::nullopt};
    if (station.time_s != 0) mark.label += "  " + clock_text(station.time_s).substr(0, 5);
    const double width = text_width(cr, mark.label, font);
    // Beside the lane names, a label starts no further left than the lane itself.
    const double left = std::clamp(mark.x - width / 2, lane.left - 4, l.width - 8 - width);
    // The highest row with room; rather one whose tick crosses no label above it.
    std::optional<int> chosen;
    for (bool clean : {true, false}) {
      for (int row = 0; row < kRows && !chosen; ++row) {
        const SheetBox box = text_box(cr, left, baseline_of(row), mark.label, font, Align::left);
        const auto overlaps = [&](const SheetBox& other) {
          return box.left < other.right + 10 && other.left < box.right + 10;
        };
        bool free =
            std::none_of(rows[static_cast<size_t>(row)].begin(), rows[static_cast<size_t>(row)].end(), overlaps);
        for (int above = 0; clean && above < row; ++above) {
          for (const SheetBox& other : rows[static_cast<size_t>(above)]) {
            free &= mark.x < other.left - 3 || mark.x > other.right + 3;
          }
        }
        if (free) {
          chosen = row;
          mark.box = box;
          rows[static_cast<size_t>(row)].push_back(box);
        }
      }
      if (chosen) break;
    }
    marks.push_back(mark);
  }
  // Ticks first, then the labels on a ground of paper, so that a tick passes behind a label above its own.
  for (const Mark& mark : marks) {
    const double end = mark.box ? mark.box->top - 2 : lane.top + 10;
    fill_box(cr, {mark.x - 1, lane.top, mark.x + 1, end}, colour::kStation);
  }
  for (const Mark& mark : marks) {
    if (!mark.box) continue;
    fill_box(cr, {mark.box->left - 3, mark.box->top - 1, mark.box->right + 3, mark.box->bottom + 1}, colour::kPaper);
    text(cr, mark.box->left, mark.box->bottom - font.size * 0.25, mark.label, font, Align::left, colour::kStationText);
  }
}

void draw_signals(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const SheetBox& lane = l.signal_lane;
  double last_head = -1e9;
  for (size_t k = 0; k < data.cells.size(); ++k) {
    if (data.cells[k].marker != kSignal) continue;
    const double at = marker_source_position_m(static_cast<int32_t>(k), kSignal);
    if (!on_route(data, at)) continue;
    const double x = std::round(l.x_at(at)) + 0.5;
    // Where signals stand closer than their heads are wide, the masts alone show them.
    const bool head = x - last_head >= 10;
    draw_signal_symbol(cr, x, lane.top + 8, lane.bottom - 3, head);
    if (head) last_head = x;
  }
}

void draw_boards(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const SheetBox& lane = l.board_lane;
  const double mid = (lane.top + lane.bottom) / 2;
  for (size_t k = 0; k < data.cells.size(); ++k) {
    const Cell& cell = data.cells[k];
    if (cell.marker != kSignBoard && cell.marker != kSlowdownWarning) continue;
    const double at = marker_source_position_m(static_cast<int32_t>(k), cell.marker);
    if (!on_route(data, at)) continue;
    const double x = std::round(l.x_at(at));
    if (cell.marker == kSignBoard) {
      draw_sign_board(cr, x, mid);
    } else {
      draw_warning_board(cr, x, mid);
    }
  }
  // Speed boards over the others, with their (left) speed where there is room.
  double last_right = -1e9;
  const Font font{10, true};
  for (size_t k = 0; k < data.cells.size(); ++k) {
    if (data.cells[k].marker != kSpeedBoard) continue;
    const double at = marker_source_position_m(static_cast<int32_t>(k), kSpeedBoard);
    if (!on_route(data, at)) continue;
    const double x = std::round(l.x_at(at));
    const SpeedBoard board = speed_board_of(data.cells[k]);
    const std::string label = to_string(board.left.speeds_kmh[0]);
    const double half = std::max(12.0, text_width(cr, label, font) / 2 + 5);
    if (x - half < last_right + 2) {
      fill_box(cr, {x - 1, mid - 8, x + 1, mid + 8}, colour::kSpeedLimit);
      continue;
    }
    draw_speed_board(cr, x, mid, half, label);
    last_right = x + half;
  }
}

void draw_mountains(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const SheetBox& lane = l.mountain_lane;
  const int32_t n = l.route_cells;
  for (int32_t first = 0; first < n;) {
    if (data.cells[static_cast<size_t>(first)].mountain_type == 0) {
      ++first;
      continue;
    }
    int32_t last = first;
    while (last + 1 < n && data.cells[static_cast<size_t>(last + 1)].mountain_type != 0) ++last;
    const double x0 = l.x_at(first * kCellLength);
    const double x1 = std::max(l.x_at(std::min<double>((last + 1.0) * kCellLength, l.route_end_m)), x0 + 1);
    fill_box(cr, {x0, lane.top + 5, x1, lane.bottom - 5}, colour::kMountain);
    first = last + 1;
  }
}

void draw_km_lane(cairo_t* cr, const SheetData& data) {
  const RouteSheetLayout& l = data.layout;
  const SheetBox& lane = l.km_lane;
  line(cr, lane.left, lane.top + 0.5, lane.right, lane.top + 0.5, colour::kFrame, 1);
  if (data.references.empty()) {
    text(cr, lane.left + 4, lane.top + 20, "no kilometre references", {11, false, true}, Align::left,
         colour::kQuietInk);
    return;
  }
  const double step = km_step(l, 58);
  for (const KmMark& mark : km_marks(data, step)) {
    const double x = std::round(l.x_at(mark.position_m)) + 0.5;
    line(cr, x, lane.top, x, lane.top + 6, colour::kInk, 1);
    text(cr, x, lane.top + 20, km_label(mark.reading_m, step), {11}, Align::centre, colour::kInk);
  }
  // Where a later reference takes over, the readings jump: mark the place.
  for (size_t i = 1; i < data.references.size(); ++i) {
    const double at = data.references[i].from_m;
    if (!on_route(data, at)) continue;
    const double x = std::round(l.x_at(at)) + 0.5;
    line(cr, x, lane.top, x, lane.bottom - 4, colour::kSlowdown, 1.5);
  }
}

void draw_legend(cairo_t* cr, const SheetData& data) {
  const SheetBox& box = data.layout.legend;
  const Font font{12};
  // Each entry: its symbol, drawn with the baseline at y from x on, as wide as stated, then its name.
  struct Entry {
    std::string name;
    double symbol_width;
    std::function<void(double x, double y)> symbol;
  };
  std::vector<Entry> entries;
  for (const SteepnessClass& c : steepness_classes()) {
    entries.push_back({c.label, 20, [cr, &c](double x, double y) {
                         fill_box(cr, {x, y - 10, x + 20, y + 2}, c.colour);
                       }});
  }
  entries.push_back(
      {"speed limit", 22, [cr](double x, double y) { line(cr, x, y - 4, x + 22, y - 4, colour::kSpeedLimit, 2.4); }});
  entries.push_back({"slowdown", 22, [cr](double x, double y) {
                       fill_box(cr, {x, y - 12, x + 22, y + 3}, colour::kSlowdown, 0.12);
                       line(cr, x, y - 4, x + 22, y - 4, colour::kSlowdown, 2.4);
                     }});
  entries.push_back({"station", 10, [cr](double x, double y) {
                       fill_box(cr, {x + 4, y - 12, x + 6, y + 3}, colour::kStation);
                     }});
  entries.push_back({"signal", 11, [cr](double x, double y) { draw_signal_symbol(cr, x + 5.5, y - 12, y + 3); }});
  entries.push_back({"speed board", 24, [cr](double x, double y) { draw_speed_board(cr, x + 12, y - 4, 12, ""); }});
  entries.push_back({"sign board", 8, [cr](double x, double y) { draw_sign_board(cr, x + 4, y - 5); }});
  entries.push_back({"slowdown warning", 14, [cr](double x, double y) { draw_warning_board(cr, x + 7, y - 5); }});
  entries.push_back({"mountains", 22, [cr](double x, double y) {
                       fill_box(cr, {x, y - 9, x + 22, y - 1}, colour::kMountain);
                     }});

  double x = text(cr, box.left, box.top + 16, "gradient", {12, true}, Align::left, colour::kInk).right + 14;
  double baseline = box.top + 16;
  for (const Entry& entry : entries) {
    const double width = entry.symbol_width + 6 + text_width(cr, entry.name, font);
    if (x + width > box.right) {
      x = box.left;
      baseline += 22;
    }
    entry.symbol(x, baseline);
    x = text(cr, x + entry.symbol_width + 6, baseline, entry.name, font, Align::left, colour::kInk).right + 17;
  }
}

void draw(cairo_t* cr, const DecodedScenario& scenario, const RouteSheetLayout& layout) {
  const SheetData data = gather(scenario, layout);
  fill_box(cr, {0, 0, layout.width, layout.height}, colour::kPaper);
  draw_title(cr, data);
  if (layout.map) draw_map(cr, data);
  draw_profile(cr, data);
  draw_route_axis(cr, data);
  draw_lane_names(cr, layout);
  draw_stations(cr, data);
  draw_signals(cr, data);
  draw_boards(cr, data);
  draw_mountains(cr, data);
  draw_km_lane(cr, data);
  draw_legend(cr, data);
}

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void check(cairo_status_t status, const char* what) {
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error(std::string(what) + ": " + cairo_status_to_string(status));
  }
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

}  // namespace

std::optional<SheetFormat> sheet_format_for(std::string_view file_name) {
  const size_t dot = file_name.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  std::string extension(file_name.substr(dot + 1));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == "svg") return SheetFormat::svg;
  if (extension == "png") return SheetFormat::png;
  if (extension == "pdf") return SheetFormat::pdf;
  return std::nullopt;
}

std::string draw_route_sheet(const DecodedScenario& scenario, SheetFormat format) {
  if (!scenario.cells) throw std::invalid_argument("a route sheet needs the cell file");
  const RouteSheetLayout layout = lay_out_route_sheet(scenario);
  std::string bytes;
  // The PDF page in points at 96 sheet units to the inch, so that it prints at the PNG's size on screen.
  const double page_scale = format == SheetFormat::pdf ? 0.75 : 1.0;
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface;
  switch (format) {
    case SheetFormat::svg:
      surface.reset(cairo_svg_surface_create_for_stream(append_bytes, &bytes, layout.width, layout.height));
      cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
      break;
    case SheetFormat::pdf:
      surface.reset(cairo_pdf_surface_create_for_stream(append_bytes, &bytes, layout.width * page_scale,
                                                        layout.height * page_scale));
      break;
    case SheetFormat::png:
      surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(std::ceil(layout.width)),
                                               static_cast<int>(std::ceil(layout.height))));
      break;
  }
  check(cairo_surface_status(surface.get()), "cannot start the route sheet");
  {
    std::unique_ptr<cairo_t, ContextDeleter> cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), page_scale, page_scale);
    draw(cr.get(), scenario, layout);
    check(cairo_status(cr.get()), "cannot draw the route sheet");
  }
  if (format == SheetFormat::png) {
    check(cairo_surface_write_to_png_stream(surface.get(), append_bytes, &bytes), "cannot encode the PNG");
  }
  cairo_surface_finish(surface.get());
  check(cairo_surface_status(surface.get()), "cannot finish the route sheet");
  return bytes;
}

}  // namespace scenario
