#include "compiler/line_placement.h"
#include "compiler/cell_access.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

#include "compiler/arithmetic.h"
#include "support/cell_runs.h"

namespace scenario {
namespace {

struct Reference {
  int32_t position;
  int32_t value;
  int32_t flag;
  bool operator==(const Reference&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Reference& r) {
  return out << "(" << r.position << ", " << r.value << ", " << r.flag << ")";
}

Reference reference_of(const TableRecord& record) { return {record.start, record.end, record.position}; }

TEST(OrderKmReferences, OrdersReferencesAsTheTableSays) {
  struct Case {
    const char* what;
    Reference r81, r82, r83;  // as read from "tre", "due", "uno"
    Reference e81, e82, e83;  // after ordering
  };
  const Reference a{3000, 1000, 0};
  const Reference b{2000, 2000, 0};
  const Reference c{1000, 3000, 0};
  const Case cases[] = {
      {"built-in line", {0, 0, 0}, {12650, 112100, 0}, {0, 137350, 1}, {12650, 112100, 0}, {0, 137450, 1}, {0, 0, 0}},
      {"R81 greatest, p82 > p83", a, b, c, a, b, c},
      {"R81 greatest, p82 < p83", a, c, b, a, b, c},
      {"R81 greatest, p82 = p83: R83 second", a, {500, 1, 0}, {500, 2, 0}, a, {500, 2, 0}, {500, 1, 0}},
      {"R82 greatest, p81 > p83", b, a, c, a, b, c},
      {"R82 greatest, p81 = p83: R83 second", {500, 1, 0}, a, {500, 2, 0}, a, {500, 2, 0}, {500, 1, 0}},
      {"R83 greatest, p81 > p82", b, c, a, a, b, c},
      {"R83 greatest, p81 < p82", c, b, a, a, b, c},
      {"R83 greatest, p81 = p82: R82 second", {500, 1, 0}, {500, 2, 0}, a, a, {500, 2, 0}, {500, 1, 0}},
      {"two share the greatest", a, {3000, 7, 0}, c, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"all three equal", a, a, a, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"negative positions order as numbers",
       {-50, 1, 0},
       {-100, 2, 0},
       {-200, 3, 0},
       {-50, 1, 0},
       {-100, 2, 0},
       {-200, 3, 0}},
      // Route positions summing to 0: the kilometre values decide, the last rule that holds wins.
      {"sum 0, only R82 has a value", {0, 0, 0}, {0, 5000, 1}, {0, 0, 0}, {0, 5100, 1}, {0, 0, 0}, {0, 0, 0}},
      {"sum 0, only R81 has a value", {0, 5000, 0}, {0, 0, 0}, {0, 0, 1}, {0, 5000, 0}, {0, 0, 0}, {0, 100, 1}},
      {"sum 0, R81 and R83 have values", {0, 10, 0}, {0, 20, 0}, {0, 30, 0}, {0, 30, 0}, {0, 20, 0}, {0, 10, 0}},
      {"sum 0, R81 and R82 have values", {0, 10, 0}, {0, 20, 0}, {0, 0, 0}, {0, 20, 0}, {0, 10, 0}, {0, 0, 0}},
      {"sum 0, no value above 0", {0, -5, 1}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {"sum 0 from opposite positions", {-100, 0, 0}, {100, 0, 0}, {0, 700, 0}, {0, 700, 0}, {100, 0, 0}, {-100, 0, 0}},
      {"only flag 1 adds 100", {300, 10, 1}, {200, 20, 2}, {100, 30, -1}, {300, 110, 1}, {200, 20, 2}, {100, 30, -1}},
  };
  for (const Case& k : cases) {
    RouteModel model;
    auto put = [&](int record, const Reference& r) {
      model.table[static_cast<size_t>(record)].start = r.position;
      model.table[static_cast<size_t>(record)].end = r.value;
      model.table[static_cast<size_t>(record)].position = r.flag;
      model.table[static_cast<size_t>(record)].text = "kept";
    };
    put(kKmReferenceThree, k.r81);
    put(kKmReferenceTwo, k.r82);
    put(kKmReferenceOne, k.r83);
    order_km_references(model);
    EXPECT_EQ(reference_of(model.table[kKmReferenceThree]), k.e81) << k.what;
    EXPECT_EQ(reference_of(model.table[kKmReferenceTwo]), k.e82) << k.what;
    EXPECT_EQ(reference_of(model.table[kKmReferenceOne]), k.e83) << k.what;
    EXPECT_EQ(model.table[kKmReferenceOne].text, "kept") << k.what;
  }
}

TEST(OrderKmReferences, FallingValueThatNoLongerFitsIsRefused) {
  RouteModel model;
  model.table[kKmReferenceOne] = TableRecord{};
  model.table[kKmReferenceOne].start = 100;
  model.table[kKmReferenceOne].end = std::numeric_limits<int32_t>::max() - 99;
  model.table[kKmReferenceOne].position = 1;
  EXPECT_THROW(order_km_references(model), InputError);

  // The positions are summed in 32 bits too.
  RouteModel crowded;
  crowded.table[kKmReferenceThree].start = std::numeric_limits<int32_t>::max();
  crowded.table[kKmReferenceTwo].start = std::numeric_limits<int32_t>::max();
  crowded.table[kKmReferenceOne].start = 2;
  EXPECT_THROW(order_km_references(crowded), InputError);
}

using testing::cell_runs;

int type_of(const Cell& c) { return c.mountain_type; }
int marker_of(const Cell& c) { return c.marker; }

TEST(PlaceMountainSection, SectionsLayTypesAndMarkers) {
  using Section = MountainSection;
  struct Case {
    const char* what;
    std::vector<Section> sections;
    int from, to;
    const char* types;
    const char* markers;
  };
  const Case cases[] = {
      {"type 12: type 2, a marker every fourth cell",
       {{1100, 1550, 12}},
       20,
       32,
       "0x2 2x9 0x2",
       "0x5 11x1 0x3 11x1 0x3"},
      {"700 m after the previous one keeps its own type",
       {{1100, 1550, 12}, {2250, 2450, 12}},
       44,
       49,
       "0x1 2x4 0x1",
       "0x4 11x1 0x1"},
      {"150 m after the previous one becomes type 3, markers stay",
       {{1100, 1550, 12}, {1700, 2000, 12}},
       31,
       41,
       "0x3 3x6 0x2",
       "0x6 11x1 0x4"},
      {"200 m after keeps its type", {{1100, 1550, 12}, {1750, 2000, 5}}, 34, 40, "0x1 5x5 0x1", "0x7"},
      {"an overlapping section becomes type 3", {{1100, 1550, 12}, {1500, 1650, 4}}, 29, 33, "2x1 3x3 0x1", "11x1 0x4"},
      {"type 10 and below lay no markers", {{0, 1000, 10}}, 0, 20, "10x20 0x1", "0x21"},
      {"type 11 is type 1 with markers", {{0, 400, 11}}, 0, 8, "1x8 0x1", "0x3 11x1 0x3 11x1 0x1"},
      {"only the low 8 bits of the type are kept", {{0, 100, 300}}, 0, 2, "34x2 0x1", "0x3"},
      // 1125 / 50 = 22.5 goes to 22; 1675 / 50 - 1 = 32.5 goes to 32.
      {"halves go to the even neighbour", {{1125, 1675, 2}}, 21, 33, "0x1 2x11 0x1", "0x13"},
      {"1175 / 50 = 23.5 goes to 24", {{1175, 1275, 2}}, 23, 25, "0x1 2x1 0x1", "0x3"},
      {"start after end lays nothing", {{1000, 1000, 12}}, 18, 22, "0x5", "0x5"},
  };
  for (const Case& c : cases) {
    RouteModel model;
    model.create_cells(43000);
    MountainSections sections;
    for (const Section& s : c.sections) place_mountain_section(model, sections, s);
    EXPECT_EQ(cell_runs(model, c.from, c.to, type_of), c.types) << c.what;
    EXPECT_EQ(cell_runs(model, c.from, c.to, marker_of), c.markers) << c.what;
    EXPECT_EQ(sections.count, static_cast<int32_t>(c.sections.size())) << c.what;
    EXPECT_EQ(sections.starts[c.sections.size()], c.sections.back().start_m) << c.what;
    EXPECT_EQ(sections.ends[c.sections.size()], c.sections.back().end_m) << c.what;
  }
}

TEST(PlaceMountainSection, KeepsOtherMarkersAndCountsThemAsCells) {
  RouteModel model;
  model.create_cells(43000);
  model.cells[25].marker = kSignal;
  model.cells[27].marker = kSignBoard;
  MountainSections sections;
  place_mountain_section(model, sections, {1100, 1550, 12});
  EXPECT_EQ(cell_runs(model, 22, 30, marker_of), "0x3 1x1 0x1 14x1 0x1 11x1 0x1");
  EXPECT_EQ(cell_runs(model, 22, 30, type_of), "2x9");
}

TEST(PlaceMountainSection, StaysInsideTheCellArray) {
  RouteModel model;
  model.create_cells(0);  // cells 0 to 140
  MountainSections sections;
  place_mountain_section(model, sections, {6800, 9000, 12});
  EXPECT_EQ(cell_runs(model, 130, 140, type_of), "0x6 2x5");
  EXPECT_EQ(cell_runs(model, 136, 140, marker_of), "0x3 11x1 0x1");

  // A start before cell 0 counts its markers from the section's own first cell.
  RouteModel early;
  early.create_cells(0);
  MountainSections early_sections;
  place_mountain_section(early, early_sections, {-200, 400, 12});  // cells -4 to 7
  EXPECT_EQ(cell_runs(early, 0, 9, type_of), "2x8 0x2");
  EXPECT_EQ(cell_runs(early, 0, 9, marker_of), "0x3 11x1 0x3 11x1 0x2");
}

TEST(PlaceMountainSection, EightySectionsAtMost) {
  RouteModel model;
  model.create_cells(43000);
  MountainSections sections;
  for (int32_t i = 0; i < kMaxMountainSections; ++i)
    place_mountain_section(model, sections, {i * 500, i * 500 + 200, 12});
  EXPECT_EQ(sections.count, 80);
  EXPECT_EQ(sections.ends[80], 79 * 500 + 200);

  const Cell before = model.cells[810];
  EXPECT_THROW(place_mountain_section(model, sections, {40500, 40700, 12}), InputError);
  EXPECT_EQ(sections.count, 80);
  EXPECT_EQ(model.cells[810].mountain_type, before.mountain_type);
}

TEST(PlaceSpeedBoard, PacksBoardIntoTheCellAfterItsPosition) {
  struct Case {
    int32_t position, s_speed1, s_speed2, s_speed3;
    int16_t s_stripes;
    int32_t d_speed1, d_speed2, d_speed3;
    int16_t d_stripes;
    int32_t cell;
    int16_t v1, v2, v3, v4;
  };
  const Case cases[] = {
      {900, 60, 80, 80, 0, 0, 0, 0, 0, 19, 1200, 1600, 1600, 0},
      {12950, 80, 85, 85, 0, 80, 85, 85, 0, 260, 1616, 1717, 1717, 0},
      {1000, 100, 0, 0, 2, 50, 0, 0, 3, 21, 2010, 0, 0, 23},
      {25, 5, 0, 0, 0, 0, 0, 0, 0, 2, 100, 0, 0, 0},   // 1.5 goes to 2
      {75, 5, 0, 0, 0, 0, 0, 0, 0, 2, 100, 0, 0, 0},   // 2.5 goes to 2
      {125, 5, 0, 0, 0, 0, 0, 0, 0, 4, 100, 0, 0, 0},  // 3.5 goes to 4
      {500, 0, 0, 0, 0, 3, 7, 8, 0, 11, 1, 1, 2, 0},   // 0.6, 1.4, 1.6 to the nearest
      // The largest values that still fit 16 bits.
      {500, 1638, -1638, 0, 3276, 35, -40, 0, 7, 11, 32767, -32768, 0, 32767},
      {500, 0, 0, 0, -3276, 0, 0, 0, -8, 11, 0, 0, 0, -32768},
  };
  for (const Case& c : cases) {
    RouteModel model;
    model.create_cells(43000);
    const SpeedBoard board{c.position,
                           {c.s_speed1, c.s_speed2, c.s_speed3},
                           c.s_stripes,
                           {c.d_speed1, c.d_speed2, c.d_speed3},
                           c.d_stripes};
    EXPECT_EQ(place_speed_board(model, board), BuildErrorCode::none) << "board at " << c.position;
    const Cell& cell = model.cells[static_cast<size_t>(c.cell)];
    EXPECT_EQ(cell.marker, kSpeedBoard) << "board at " << c.position;
    EXPECT_EQ(cell.value1, c.v1) << "board at " << c.position;
    EXPECT_EQ(cell.value2, c.v2) << "board at " << c.position;
    EXPECT_EQ(cell.value3, c.v3) << "board at " << c.position;
    EXPECT_EQ(cell.value4, c.v4) << "board at " << c.position;
  }
}

TEST(PlaceSpeedBoard, TakesOnlyAFreeCell) {
  RouteModel model;
  model.create_cells(43000);
  model.cells[19].marker = kMountainMarker;
  EXPECT_EQ(place_speed_board(model, {900, {60, 80, 80}, 0, {0, 0, 0}, 0}), BuildErrorCode::none);
  EXPECT_EQ(model.cells[19].marker, kSpeedBoard);

  model.cells[21].marker = kSignBoard;
  model.cells[21].value1 = 80;
  EXPECT_EQ(place_speed_board(model, {1000, {60, 80, 80}, 0, {0, 0, 0}, 0}), BuildErrorCode::speed_board_cell_taken);
  EXPECT_EQ(model.cells[21].marker, kSignBoard);
  EXPECT_EQ(model.cells[21].value1, 80);
}

TEST(PlaceSpeedBoard, PackedValueBeyond16BitsIsRefusedWithoutWriting) {
  struct Case {
    const char* what;
    int32_t s_speed, d_speed;
    int16_t s_stripes, d_stripes;
  };
  const Case cases[] = {
      {"speeds 32768", 1638, 40, 0, 0},
      {"speeds -32769", -1638, -45, 0, 0},
      {"stripes 32768", 0, 0, 3276, 8},
      {"stripes -32769", 0, 0, -3276, -9},
  };
  for (const Case& c : cases) {
    RouteModel model;
    model.create_cells(43000);
    EXPECT_THROW(place_speed_board(model, {500, {c.s_speed, 0, 0}, c.s_stripes, {c.d_speed, 0, 0}, c.d_stripes}),
                 InputError)
        << c.what;
    EXPECT_EQ(model.cells[11].marker, kNothing) << c.what;
    EXPECT_EQ(model.cells[11].value1, 0) << c.what;
  }
}

TEST(CellAccess, RefusesIndicesOutsideTheArray) {
  RouteModel model;
  EXPECT_THROW(cell_at(model, 0), InputError);
  model.create_cells(0);
  EXPECT_NO_THROW(cell_at(model, 140));
  EXPECT_THROW(cell_at(model, 141), InputError);
  EXPECT_THROW(cell_at(model, -1), InputError);
}

}  // namespace
}  // namespace scenario
