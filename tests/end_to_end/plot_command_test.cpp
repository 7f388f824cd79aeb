// `scenario_tool plot`: route sheets in the three formats for the built-in
// scenario and a 1000 km route, checked by rendering the SVG with a renderer
// of another make (rsvg-convert) and looking at its pixels.

#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "bench/long_route.h"
#include "compiler/compiled_decoder.h"
#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "support/compiled_scenarios.h"
#include "support/source_rows.h"
#include "tools/route_sheet_layout.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::run_tool;

// ---- source rows, read independently of the compiler ----

struct Row {
  std::string keyword;
  std::vector<int> numbers;  // the fields after the keyword that are numbers
};

std::vector<Row> rows_of(const std::string& text, const std::string& keyword) {
  std::vector<Row> rows;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::vector<std::string> fields = testing::split_at_commas(text.substr(start, end - start));
    if (fields.front().rfind(keyword, 0) == 0) {
      Row row{fields.front(), {}};
      for (size_t i = 1; i < fields.size(); ++i) {
        const size_t digit = fields[i].find_first_of("-0123456789");
        row.numbers.push_back(digit == std::string::npos ? 0 : std::atoi(fields[i].c_str()));
      }
      rows.push_back(row);
    }
    start = end + 2;
  }
  return rows;
}

// The height above the start at a route position, from the gradient rows: a
// row at p sets the gradient from cell nearest-even(p / 50) on.
double height_from_rows(const std::vector<Row>& gradients, double metres) {
  const auto cell_gradient = [&](long k) {
    int g = 0;
    for (const Row& r : gradients) {
      if (std::nearbyint(r.numbers[0] / 50.0) <= static_cast<double>(k)) g = r.numbers[1];
    }
    return g;
  };
  double h = 0;
  const long whole = static_cast<long>(metres / 50);
  for (long k = 0; k < whole; ++k) h += cell_gradient(k) * 0.05;
  return h + cell_gradient(whole) * (metres - static_cast<double>(whole) * 50) / 1000.0;
}

// ---- pictures ----

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, row by row

  uint32_t at(int x, int y) const {
    return pixels.at(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
  }
};

Picture read_png(const fs::path& path) {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("not a PNG: " + path.string());
  Picture picture;
  picture.width = cairo_image_surface_get_width(surface.get());
  picture.height = cairo_image_surface_get_height(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      uint32_t argb = 0;
      std::memcpy(&argb, data + static_cast<ptrdiff_t>(y) * stride + x * 4, 4);
      picture.pixels.push_back(argb & 0xFFFFFF);
    }
  }
  return picture;
}

bool near_colour(uint32_t pixel, uint32_t rgb, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) > tolerance) {
      return false;
    }
  }
  return true;
}

// A pixel of that colour in row y within `reach` columns of x.
bool colour_near(const Picture& p, double x, double y, uint32_t rgb, int reach = 2) {
  const int column = static_cast<int>(std::floor(x));
  for (int cx = column - reach; cx <= column + reach; ++cx) {
    if (cx >= 0 && cx < p.width && near_colour(p.at(cx, static_cast<int>(y)), rgb, 24)) return true;
  }
  return false;
}

bool steepness_colour(uint32_t pixel) {
  for (const SteepnessClass& c : steepness_classes()) {
    if (near_colour(pixel, c.colour, 10)) return true;
  }
  return false;
}

DecodedScenario decode_folder(const fs::path& out, const std::string& cells, const std::string& table,
                              const std::string& plan) {
  const std::string cell_bytes = testing::read_file(out / cells);
  const std::string table_bytes = testing::read_file(out / table);
  std::optional<std::string> plan_bytes;
  if (fs::exists(out / plan)) plan_bytes = testing::read_file(out / plan);
  CompiledBytes bytes{cell_bytes, table_bytes, std::nullopt};
  if (plan_bytes) bytes.line_plan = *plan_bytes;
  Decoded<DecodedScenario> decoded = decode_scenario(bytes);
  if (!decoded) throw std::runtime_error(decoded.error().message());
  return std::move(decoded.value());
}

// Renders the SVG sheet with rsvg-convert into a PNG beside it.
Picture render_svg(const fs::path& svg) {
  const fs::path png = svg.string() + ".rsvg.png";
  const testing::ProgramRun run =
      testing::run_program(RSVG_CONVERT_PATH, {"-o", png.string(), svg.string()}, svg.parent_path().string());
  if (run.status != 0) throw std::runtime_error("rsvg-convert: " + run.error_text);
  return read_png(png);
}

// Every station has its mark in the station lane, and a stretch without one has none.
void expect_station_marks(const Picture& sheet, const RouteSheetLayout& layout, const std::vector<Row>& stations) {
  const double y = layout.station_lane.top + 4;
  for (const Row& station : stations) {
    EXPECT_TRUE(colour_near(sheet, layout.x_at(station.numbers[0]), y, sheet_colour::kStation))
        << "no station mark at " << station.numbers[0] << " m";
  }
  for (size_t i = 0; i + 1 < stations.size(); ++i) {
    const double gap_x = layout.x_at((stations[i].numbers[0] + stations[i + 1].numbers[0]) / 2.0);
    if (layout.x_at(stations[i + 1].numbers[0]) - layout.x_at(stations[i].numbers[0]) < 40) continue;
    EXPECT_FALSE(colour_near(sheet, gap_x, y, sheet_colour::kStation)) << "a station mark between stations " << i;
  }
}

// Along the whole profile, the panel's bottom row is filled with the steepness colours, but
// where a slowdown's band tints it.
void expect_profile_filled(const Picture& sheet, const RouteSheetLayout& layout, const std::vector<Row>& slowdowns) {
  int filled = 0, columns = 0;
  for (double x = layout.x_at(0) + 3; x < layout.x_at(layout.route_end_m) - 3; x += 1) {
    bool tinted = false;
    for (const Row& s : slowdowns) {
      tinted |= x > layout.x_at(s.numbers[0]) - 2 && x < layout.x_at(s.numbers[0] + s.numbers[2]) + 7;
    }
    if (tinted) continue;
    ++columns;
    filled += steepness_colour(sheet.at(static_cast<int>(x), static_cast<int>(layout.profile.bottom - 3)));
  }
  EXPECT_GT(columns, 1000);
  EXPECT_GE(filled, columns * 99 / 100) << filled << " of " << columns;
}

class PlotCommand : public ::testing::Test {
 protected:
  testing::TempFolder folder;
};

TEST_F(PlotCommand, BuiltInSheetInThreeFormatsAndRenderedByAnother) {
  const fs::path out = testing::compile_built_in(folder);
  const RouteSheetLayout layout =
      lay_out_route_sheet(decode_folder(out, testing::kBuiltInCells, testing::kBuiltInTable, testing::kBuiltInPlan));
  for (const char* name : {"sheet.svg", "sheet.png", "sheet.pdf"}) {
    const testing::ProgramRun run = run_tool({"plot", out.string(), "-o", (folder.path() / name).string()});
    ASSERT_EQ(run.status, 0) << name << ": " << run.error_text;
  }
  // The PDF page is the sheet at 96 units to the inch, in points.
  const std::string pdf = testing::read_file(folder.path() / "sheet.pdf");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  char media_box[80];
  std::snprintf(media_box, sizeof media_box, "/MediaBox [ 0 0 %g %g ]", layout.width * 0.75, layout.height * 0.75);
  EXPECT_NE(pdf.find(media_box), std::string::npos) << media_box;
  EXPECT_NE(testing::read_file(folder.path() / "sheet.svg").find("<svg"), std::string::npos);
  const Picture own = read_png(folder.path() / "sheet.png");
  EXPECT_EQ(own.width, static_cast<int>(layout.width));
  EXPECT_EQ(own.height, static_cast<int>(layout.height));

  const Picture sheet = render_svg(folder.path() / "sheet.svg");
  ASSERT_EQ(sheet.width, static_cast<int>(layout.width));
  ASSERT_EQ(sheet.height, static_cast<int>(layout.height));

  const std::string line = render_text_file(line_source_lines());
  const std::string train = render_text_file(train_source_lines());
  expect_station_marks(sheet, layout, rows_of(train, "stazione"));
  expect_profile_filled(sheet, layout, rows_of(train, "rallentamento"));

  // The profile's top edge: the steepness colour just below the height the gradient rows give,
  // and none just above it. Skipped where a station guide, the slowdown or the speed line passes.
  const std::vector<Row> gradients = rows_of(line, "pendenza");
  const std::vector<Row> speeds = rows_of(train, "velocita");
  const std::vector<Row> stations = rows_of(train, "stazione");
  const std::vector<Row> slowdowns = rows_of(train, "rallentamento");
  int checked = 0;
  for (size_t i = 0; i + 1 < gradients.size(); ++i) {
    const int from = gradients[i].numbers[0], to = gradients[i + 1].numbers[0];
    if (to - from < 250) continue;
    const int column = static_cast<int>(layout.x_at((from + to) / 2.0));
    const double metres = (column + 0.5 - layout.profile.left) / layout.profile.width() * layout.route_end_m;
    const double top = layout.y_at_height(height_from_rows(gradients, metres));
    int speed = 0;
    for (const Row& r : speeds) speed = r.numbers[0] <= metres ? r.numbers[1] : speed;
    bool crossed = std::abs(layout.y_at_speed(speed) - top) < 14;
    for (const Row& s : stations) crossed |= std::abs(layout.x_at(s.numbers[0]) - column) < 4;
    for (const Row& s : slowdowns) crossed |= metres > s.numbers[0] - 200 && metres < s.numbers[0] + s.numbers[2] + 200;
    if (crossed) continue;
    const uint32_t expected = steepness_of(gradients[i].numbers[1]).colour;
    EXPECT_TRUE(near_colour(sheet.at(column, static_cast<int>(top + 6)), expected, 10))
        << "profile below its top at " << metres << " m";
    EXPECT_FALSE(steepness_colour(sheet.at(column, static_cast<int>(top - 6))))
        << "profile above its top at " << metres;
    ++checked;
  }
  EXPECT_GE(checked, 40);
}

TEST_F(PlotCommand, WithoutThePlanTheSheetHasNoMap) {
  const fs::path out = testing::compile_built_in(folder, {"--no-plan"});
  const RouteSheetLayout layout =
      lay_out_route_sheet(decode_folder(out, testing::kBuiltInCells, testing::kBuiltInTable, testing::kBuiltInPlan));
  ASSERT_FALSE(layout.map);
  const testing::ProgramRun run = run_tool({"plot", out.string(), "-o", (folder.path() / "sheet.PNG").string()});
  ASSERT_EQ(run.status, 0) << run.error_text;
  const Picture sheet = read_png(folder.path() / "sheet.PNG");
  EXPECT_EQ(sheet.height, static_cast<int>(layout.height));
  expect_station_marks(sheet, layout, rows_of(render_text_file(train_source_lines()), "stazione"));

  const testing::ProgramRun unknown = run_tool({"plot", out.string(), "-o", (folder.path() / "sheet.gif").string()});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.error_text.find(".svg, .png or .pdf"), std::string::npos) << unknown.error_text;
}

TEST_F(PlotCommand, AThousandKilometreRouteInThreeFormats) {
  const bench::LongRouteSources sources = bench::long_route_sources();
  const fs::path out = testing::compile_sources(folder, sources.line, sources.train, "Lunga", "9001");
  const RouteSheetLayout layout =
      lay_out_route_sheet(decode_folder(out, "Lunga_9001.dat", "Lunga_9001.sim", "Lunga_linea.dat"));
  for (const char* name : {"long.svg", "long.png", "long.pdf"}) {
    const auto start = std::chrono::steady_clock::now();
    const testing::ProgramRun run = run_tool({"plot", out.string(), "-o", (folder.path() / name).string()});
    ASSERT_EQ(run.status, 0) << name << ": " << run.error_text;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty(std::string(name) + "_seconds", std::to_string(seconds));
  }
  const Picture own = read_png(folder.path() / "long.png");
  EXPECT_EQ(own.height, static_cast<int>(layout.height));
  const Picture sheet = render_svg(folder.path() / "long.svg");
  ASSERT_EQ(sheet.width, static_cast<int>(layout.width));
  ASSERT_EQ(sheet.height, static_cast<int>(layout.height));
  const std::vector<Row> stations = rows_of(sources.train, "stazione");
  EXPECT_EQ(stations.size(), 40u);
  expect_station_marks(sheet, layout, stations);
  expect_profile_filled(sheet, layout, rows_of(sources.train, "rallentamento"));
}

}  // namespace
}  // namespace scenario
