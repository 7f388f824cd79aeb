#pragma once

// The route plan: the track's two plan coordinates metre by metre, held as the
// bytes of the compiled line plan file itself, so that the plan costs what its
// file costs and the file is written straight from it.

#include <bit>
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "compiler/byte_writer.h"

namespace scenario {

// Tags in front of every line plan entry.
enum PlanTag : uint16_t { kPlanTagEmpty = 0, kPlanTagInt16 = 2, kPlanTagDouble = 5 };

// One entry as the file stores it: empty, a 16-bit whole number or a double.
struct PlanEmpty {
  bool operator==(const PlanEmpty&) const = default;
};
using PlanEntry = std::variant<PlanEmpty, int16_t, double>;

// Both coordinates of one metre.
struct PlanPoint {
  double first = 0;
  double second = 0;
};

// Metres 0 to N, two coordinates each. The file holds every entry as its tag
// and value: all of coordinate 0 (metres 0 to N), then all of coordinate 1.
// The plan is filled in metre order: metres 0 and 1 hold whole numbers, every
// later metre doubles, and the metres not reached stay empty. So where each
// entry lies follows from the metre alone: the one buffer, sized for the
// longest file the plan can give, is filled in place, and finishing the plan
// only closes coordinate 1 up behind however far coordinate 0 reached.
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

  // A filled metre's coordinates as doubles; an empty one is a fault of ours:
  // std::logic_error.
  PlanPoint point(int32_t metre) const;
  // An entry of metres 0 to N as the file stores it.
  PlanEntry entry(int32_t metre, int coordinate) const;

  // Ends the filling: the metres not reached stay empty, and coordinate 1
  // closes up behind coordinate 0. Calling it again changes nothing.
  void finish();
  // The compiled line plan file; only once finished (std::logic_error before).
  std::string_view file_bytes() const;

 private:
  static constexpr size_t kTagBytes = sizeof(uint16_t);
  static constexpr size_t kWholeEntryBytes = kTagBytes + sizeof(int16_t);
  static constexpr size_t kDoubleEntryBytes = kTagBytes + sizeof(double);
  static constexpr int32_t kWholeMetres = 2;  // metres 0 and 1

  size_t filled_bytes(int32_t metres) const;
  size_t run_bytes(int32_t filled) const;
  size_t offset(int32_t metre, int coordinate) const;
  [[noreturn]] void refuse_metre(bool whole) const;
  [[noreturn]] static void fault(const char* what);

  int32_t last_metre_;
  int32_t filled_ = 0;
  bool finished_ = false;
  // Where coordinate 1 begins: while the plan is filled, where the longest
  // file has it; once finished, right behind coordinate 0.
  size_t second_run_ = 0;
  std::vector<char> bytes_;
};

inline size_t RoutePlan::filled_bytes(int32_t metres) const {
  if (metres <= kWholeMetres) return static_cast<size_t>(metres) * kWholeEntryBytes;
  return kWholeMetres * kWholeEntryBytes + static_cast<size_t>(metres - kWholeMetres) * kDoubleEntryBytes;
}

// Called once a metre of the route, so inline and without a call on its way:
// the plan's steps keep their numbers in registers.
inline void RoutePlan::add_metre(double first, double second) {
  if (filled_ < kWholeMetres || filled_ > last_metre_ || finished_) [[unlikely]] {
    refuse_metre(/*whole=*/false);
  }
  char* entry = bytes_.data() + filled_bytes(filled_);
  put_le(put_le(entry, uint16_t{kPlanTagDouble}), std::bit_cast<uint64_t>(first));
  put_le(put_le(entry + second_run_, uint16_t{kPlanTagDouble}), std::bit_cast<uint64_t>(second));
  ++filled_;
}

}  // namespace scenario
