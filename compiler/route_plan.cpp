#include "compiler/route_plan.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "compiler/byte_writer.h"

namespace scenario {
namespace {

constexpr size_t kTagBytes = sizeof(uint16_t);
constexpr size_t kWholeEntryBytes = kTagBytes + sizeof(int16_t);
constexpr size_t kDoubleEntryBytes = kTagBytes + sizeof(double);
constexpr int32_t kWholeMetres = 2;  // metres 0 and 1

}  // namespace

RoutePlan::RoutePlan(int32_t last_metre) : last_metre_(last_metre) {
  if (last_metre < 1) throw std::logic_error("a route plan without metres 0 and 1");
  // Room for the longest file: every metre from 2 to N a double. Zero bytes
  // are empty entries already.
  bytes_.resize(2 * run_bytes(last_metre + 1));
  second_run_ = run_bytes(std::max(last_metre - 1, 0));
}

// The entries of metres 0 to metres - 1, all filled.
size_t RoutePlan::filled_bytes(int32_t metres) const {
  const auto whole = static_cast<size_t>(std::min(metres, kWholeMetres));
  const auto doubles = static_cast<size_t>(std::max(metres - kWholeMetres, 0));
  return whole * kWholeEntryBytes + doubles * kDoubleEntryBytes;
}

// One coordinate's run when `filled` metres hold numbers and the rest are empty.
size_t RoutePlan::run_bytes(int32_t filled) const {
  return filled_bytes(filled) + static_cast<size_t>(last_metre_ + 1 - filled) * kTagBytes;
}

size_t RoutePlan::offset(int32_t metre, int coordinate) const {
  if (metre < 0 || metre > last_metre_ || coordinate < 0 || coordinate > 1) {
    throw std::logic_error("a route plan entry outside metres 0 to N");
  }
  const size_t within_run =
      metre <= filled_ ? filled_bytes(metre) : next_entry_ + static_cast<size_t>(metre - filled_) * kTagBytes;
  return (coordinate == 0 ? 0 : second_run_) + within_run;
}

// Coordinate 0 grows by the next metre's entry; where it would reach into
// coordinate 1 (only a curve running on to metre N - 1 or N does that),
// coordinate 1 moves on behind it. Returns where the entry goes in coordinate 0.
char* RoutePlan::make_room_for_next_metre(size_t entry_bytes) {
  if (finished_) throw std::logic_error("a metre added to a finished route plan");
  if (filled_ > last_metre_) throw std::logic_error("a metre added past the end of the route plan");
  char* bytes = bytes_.data();
  const size_t needed = next_entry_ + entry_bytes + static_cast<size_t>(last_metre_ - filled_) * kTagBytes;
  if (second_run_ < needed) {
    std::memmove(bytes + needed, bytes + second_run_, next_entry_);
    std::memset(bytes + next_entry_, 0, needed - next_entry_);
    second_run_ = needed;
  }
  return bytes + next_entry_;
}

// The metre just written is the last filled.
void RoutePlan::advance(double first, double second) {
  recent_[0][0] = recent_[1][0];
  recent_[0][1] = recent_[1][1];
  recent_[1][0] = first;
  recent_[1][1] = second;
  ++filled_;
}

void RoutePlan::add_whole_metre(int16_t first, int16_t second) {
  if (filled_ >= kWholeMetres) throw std::logic_error("a whole number after metre 1 of the route plan");
  char* entry = make_room_for_next_metre(kWholeEntryBytes);
  put_le(put_le(entry, uint16_t{kPlanTagInt16}), static_cast<uint16_t>(first));
  put_le(put_le(entry + second_run_, uint16_t{kPlanTagInt16}), static_cast<uint16_t>(second));
  next_entry_ += kWholeEntryBytes;
  advance(first, second);
}

void RoutePlan::add_metre(double first, double second) {
  if (filled_ < kWholeMetres) throw std::logic_error("a double before metre 2 of the route plan");
  char* entry = make_room_for_next_metre(kDoubleEntryBytes);
  put_le(put_le(entry, uint16_t{kPlanTagDouble}), std::bit_cast<uint64_t>(first));
  put_le(put_le(entry + second_run_, uint16_t{kPlanTagDouble}), std::bit_cast<uint64_t>(second));
  next_entry_ += kDoubleEntryBytes;
  advance(first, second);
}

double RoutePlan::number(int32_t metre, int coordinate) const {
  if (metre < 0 || metre >= filled_ || coordinate < 0 || coordinate > 1) {
    throw std::logic_error("the route plan is read where it is not computed");
  }
  if (metre >= filled_ - 2) return recent_[metre - filled_ + 2][coordinate];
  const char* value = bytes_.data() + offset(metre, coordinate) + kTagBytes;
  if (metre < kWholeMetres) return static_cast<int16_t>(get_le<uint16_t>(value));
  return std::bit_cast<double>(get_le<uint64_t>(value));
}

PlanEntry RoutePlan::entry(int32_t metre, int coordinate) const {
  const char* at = bytes_.data() + offset(metre, coordinate);
  switch (get_le<uint16_t>(at)) {
    case kPlanTagEmpty:
      return PlanEmpty{};
    case kPlanTagInt16:
      return static_cast<int16_t>(get_le<uint16_t>(at + kTagBytes));
    case kPlanTagDouble:
      return std::bit_cast<double>(get_le<uint64_t>(at + kTagBytes));
    default:
      throw std::logic_error("a route plan entry without a tag of ours");
  }
}

void RoutePlan::finish() {
  if (finished_) return;
  const size_t closed = run_bytes(filled_);
  if (second_run_ != closed) {
    // The reading stopped before metre N - 2: coordinate 1 closes up, and its
    // metres not reached are empty whatever the move left there.
    char* bytes = bytes_.data();
    std::memmove(bytes + closed, bytes + second_run_, next_entry_);
    std::memset(bytes + closed + next_entry_, 0, closed - next_entry_);
    second_run_ = closed;
  }
  finished_ = true;
}

std::string_view RoutePlan::file_bytes() const {
  if (!finished_) throw std::logic_error("the line plan file taken from a route plan still being filled");
  return {bytes_.data(), 2 * second_run_};
}

}  // namespace scenario
