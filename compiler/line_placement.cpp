#include "compiler/line_placement.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "compiler/arithmetic.h"
#include "compiler/cell_access.h"

namespace scenario {
namespace {

struct KmReference {
  int32_t position = 0;  // route position, m
  int32_t value = 0;     // kilometre value, m
  int32_t flag = 0;      // 1 when the reading falls as the route position grows
};

KmReference reference_in(const TableRecord& record) { return {record.start, record.end, record.position}; }

void store_reference(TableRecord& record, const KmReference& reference) {
  record.start = reference.position;
  record.end = reference.value;
  record.position = reference.flag;
}

// Greatest route position first; all three cleared when two share the greatest.
std::array<KmReference, 3> by_route_position(const KmReference& r81, const KmReference& r82, const KmReference& r83) {
  const int32_t p81 = r81.position;
  const int32_t p82 = r82.position;
  const int32_t p83 = r83.position;
  // On a tie between the two lesser ones, the one read from the higher record goes second.
  if (p81 > p82 && p81 > p83) return p82 > p83 ? std::array{r81, r82, r83} : std::array{r81, r83, r82};
  if (p82 > p81 && p82 > p83) return p81 > p83 ? std::array{r82, r81, r83} : std::array{r82, r83, r81};
  if (p83 > p81 && p83 > p82) return p81 > p82 ? std::array{r83, r81, r82} : std::array{r83, r82, r81};
  return {};
}

// With every route position 0 the kilometre values decide; the last rule that holds wins.
std::array<KmReference, 3> by_kilometre_value(const KmReference& r81, const KmReference& r82, const KmReference& r83) {
  std::array<KmReference, 3> ordered{};
  if (r81.value > 0) ordered = {r81, r82, r83};
  if (r82.value > 0) ordered = {r82, r81, r83};
  if (r83.value > 0) ordered = {r83, r82, r81};
  return ordered;
}

}  // namespace

void order_km_references(RouteModel& model) {
  TableRecord& rec81 = model.table[kKmReferenceThree];
  TableRecord& rec82 = model.table[kKmReferenceTwo];
  TableRecord& rec83 = model.table[kKmReferenceOne];
  const KmReference r81 = reference_in(rec81);
  const KmReference r82 = reference_in(rec82);
  const KmReference r83 = reference_in(rec83);

  // The sum is a 32-bit value: one that does not fit is a read failure, not a
  // quietly different order.
  const int64_t position_sum = int64_t{r81.position} + r82.position + r83.position;
  if (position_sum < std::numeric_limits<int32_t>::min() || position_sum > std::numeric_limits<int32_t>::max()) {
    throw InputError("the kilometre reference positions add up to more than 32 bits");
  }
  std::array<KmReference, 3> ordered =
      position_sum != 0 ? by_route_position(r81, r82, r83) : by_kilometre_value(r81, r82, r83);

  for (KmReference& reference : ordered) {
    if (reference.flag != 1) continue;
    // A falling reference reads 100 m further on.
    if (reference.value > std::numeric_limits<int32_t>::max() - 100) {
      throw InputError("kilometre value " + std::to_string(reference.value) + " plus 100 does not fit");
    }
    reference.value += 100;
  }
  store_reference(rec81, ordered[0]);
  store_reference(rec82, ordered[1]);
  store_reference(rec83, ordered[2]);
}

void place_mountain_section(RouteModel& model, MountainSections& sections, MountainSection section) {
  int32_t type = section.section_type;
  bool with_markers = false;
  if (type > 10) {
    type -= 10;
    with_markers = true;
  }

  if (sections.count >= kMaxMountainSections) {
    throw InputError("more than " + std::to_string(kMaxMountainSections) + " mountain sections");
  }
  const int32_t number = ++sections.count;
  sections.starts[static_cast<size_t>(number)] = section.start_m;
  sections.ends[static_cast<size_t>(number)] = section.end_m;

  // A section that starts at most 150 m after the previous one ends (or overlaps it) joins it.
  if (number > 1 && int64_t{section.start_m} - sections.ends[static_cast<size_t>(number - 1)] <= 150) type = 3;

  const auto first = static_cast<int64_t>(nearest_even(static_cast<double>(section.start_m) / 50));
  const auto last = static_cast<int64_t>(nearest_even(static_cast<double>(section.end_m) / 50 - 1));
  // Cells outside the array are passed over; the markers still count from the section's first cell.
  const int64_t lowest = std::max<int64_t>(first, 0);
  const int64_t highest = std::min<int64_t>(last, model.last_cell_index());
  for (int64_t k = lowest; k <= highest; ++k) {
    Cell& cell = cell_at(model, k);
    cell.mountain_type = static_cast<uint8_t>(type & 0xFF);
    const int64_t n = k - first + 1;
    if (with_markers && n % 4 == 0 && cell.marker == kNothing) cell.marker = kMountainMarker;
  }
}

int32_t speed_board_cell(int32_t position_m) {
  return nearest_even_as<int32_t>(static_cast<double>(position_m) / 50 + 1);
}

BuildErrorCode place_speed_board(RouteModel& model, const SpeedBoard& board) {
  Cell& cell = cell_at(model, speed_board_cell(board.position_m));
  if (!cell.is_free()) return BuildErrorCode::speed_board_cell_taken;

  // s-set speed / 5 in the hundreds, d-set speed / 5 in the last two digits.
  const auto packed_speeds = [](int32_t s_speed, int32_t d_speed) {
    return nearest_even_as<int16_t>(static_cast<double>(s_speed) * 20 + static_cast<double>(d_speed) / 5);
  };
  const int16_t value1 = packed_speeds(board.s_speeds[0], board.d_speeds[0]);
  const int16_t value2 = packed_speeds(board.s_speeds[1], board.d_speeds[1]);
  const int16_t value3 = packed_speeds(board.s_speeds[2], board.d_speeds[2]);
  const int32_t stripes = int32_t{board.s_stripes} * 10 + board.d_stripes;
  if (stripes < std::numeric_limits<int16_t>::min() || stripes > std::numeric_limits<int16_t>::max()) {
    throw InputError("stripes " + std::to_string(stripes) + " do not fit a signed 16-bit value");
  }

  cell.marker = kSpeedBoard;
  cell.value1 = value1;
  cell.value2 = value2;
  cell.value3 = value3;
  cell.value4 = static_cast<int16_t>(stripes);
  return BuildErrorCode::none;
}

}  // namespace scenario
