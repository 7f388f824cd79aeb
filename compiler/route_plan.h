#pragma once

// The route plan: the track's two plan coordinates metre by metre, held as the
// bytes of the compiled line plan file itself, so that the plan costs what its
// file costs and the file is written straight from it.

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

namespace scenario {

// Tags in front of every line plan entry.
enum PlanTag : uint16_t { kPlanTagEmpty = 0, kPlanTagInt16 = 2, kPlanTagDouble = 5 };

// One entry as the file stores it: empty, a 16-bit whole number or a double.
struct PlanEmpty {
  bool operator==(const PlanEmpty&) const = default;
};
using PlanEntry = std::variant<PlanEmpty, int16_t, double>;

// Metres 0 to N, two coordinates each. The file holds every entry as its tag
// and value: all of coordinate 0 (metres 0 to N), then all of coordinate 1.
// The plan is filled in metre order: metres 0 and 1 hold whole numbers, every
// later metre doubles, and the metres not reached stay empty. So where each
// entry lies follows from the metre alone, and the one buffer, sized for the
// longest file the plan can give, is filled in place.
class RoutePlan {
 public:
  // Metres 0 to `last_metre`, all empty.
  explicit RoutePlan(int32_t last_metre);

  int32_t last_metre() const { return last_metre_; }  // N
  // Metres 0 to filled_metres() - 1 hold numbers; the rest are empty.
  int32_t filled_metres() const { return filled_; }

  // The next metre, both coordinates: whole numbers for metres 0 and 1,
  // doubles from metre 2 on. A metre of the other kind, one past N, or one
  // after finish() is a fault of ours: std::logic_error.
  void add_whole_metre(int16_t first, int16_t second);
  void add_metre(double first, double second);

  // A filled metre's coordinate as a double; an empty one is a fault of ours:
  // std::logic_error.
  double number(int32_t metre, int coordinate) const;
  PlanEntry entry(int32_t metre, int coordinate) const;

  // Ends the filling: the metres not reached stay empty, and coordinate 1
  // closes up behind coordinate 0. Calling it again changes nothing.
  void finish();
  // The compiled line plan file; only once finished (std::logic_error before).
  std::string_view file_bytes() const;

 private:
  size_t filled_bytes(int32_t metres) const;
  size_t run_bytes(int32_t filled) const;
  size_t offset(int32_t metre, int coordinate) const;
  char* make_room_for_next_metre(size_t entry_bytes);
  void advance(double first, double second);

  int32_t last_metre_;
  int32_t filled_ = 0;
  bool finished_ = false;
  size_t next_entry_ = 0;  // where the next metre's entry begins within a coordinate's run
  // Where coordinate 1 begins. While the plan is filled it lies where a plan
  // filled up to metre N - 2, the usual end, has it; finish() closes it up.
  size_t second_run_ = 0;
  // The last two metres filled, both coordinates: every plan step reads them.
  double recent_[2][2] = {};
  std::vector<char> bytes_;
};

}  // namespace scenario
