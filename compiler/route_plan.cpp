#include "compiler/route_plan.h"

#include <bit>
#include <cstring>
#include <stdexcept>

#include "compiler/byte_writer.h"

namespace scenario {

RoutePlan::RoutePlan(int32_t last_metre) : last_metre_(last_metre) {
  if (last_metre < 1) fault("a route plan without metres 0 and 1");
  // Room for the longest file: every metre from 2 to N a double. Zero bytes
  // are empty entries already.
  second_run_ = run_bytes(last_metre + 1);
  bytes_.resize(2 * second_run_);
}

// One coordinate's run when `filled` metres hold numbers and the rest are empty.
size_t RoutePlan::run_bytes(int32_t filled) const {
  return filled_bytes(filled) + static_cast<size_t>(last_metre_ + 1 - filled) * kTagBytes;
}

size_t RoutePlan::offset(int32_t metre, int coordinate) const {
  if (metre < 0 || metre > last_metre_ || coordinate < 0 || coordinate > 1) {
    fault("a route plan entry outside metres 0 to N");
  }
  const size_t within_run =
      metre <= filled_ ? filled_bytes(metre) : filled_bytes(filled_) + static_cast<size_t>(metre - filled_) * kTagBytes;
  return (coordinate == 0 ? 0 : second_run_) + within_run;
}

void RoutePlan::refuse_metre(bool whole) const {
  if (finished_) fault("a metre added to a finished route plan");
  if (filled_ > last_metre_) fault("a metre added past the end of the route plan");
  fault(whole ? "a whole number after metre 1 of the route plan" : "a double before metre 2 of the route plan");
}

void RoutePlan::fault(const char* what) { throw std::logic_error(what); }

void RoutePlan::add_whole_metre(int16_t first, int16_t second) {
  if (filled_ >= kWholeMetres || finished_) refuse_metre(/*whole=*/true);
  char* entry = bytes_.data() + filled_bytes(filled_);
  put_le(put_le(entry, uint16_t{kPlanTagInt16}), static_cast<uint16_t>(first));
  put_le(put_le(entry + second_run_, uint16_t{kPlanTagInt16}), static_cast<uint16_t>(second));
  ++filled_;
}

PlanPoint RoutePlan::point(int32_t metre) const {
  if (metre >= filled_) fault("the route plan is read where it is not computed");
  const auto number = [this, metre](int coordinate) -> double {
    const char* value = bytes_.data() + offset(metre, coordinate) + kTagBytes;
    if (metre < kWholeMetres) return static_cast<int16_t>(get_le<uint16_t>(value));
    return std::bit_cast<double>(get_le<uint64_t>(value));
  };
  return {number(0), number(1)};
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
      fault("a route plan entry without a tag of ours");
  }
}

void RoutePlan::finish() {
  if (finished_) return;
  // Coordinate 1 closes up behind coordinate 0; its metres not reached are
  // empty, whatever the move leaves there.
  const size_t closed = run_bytes(filled_);
  if (closed != second_run_) {
    char* bytes = bytes_.data();
    const size_t filled = filled_bytes(filled_);
    std::memmove(bytes + closed, bytes + second_run_, filled);
    std::memset(bytes + closed + filled, 0, closed - filled);
    second_run_ = closed;
  }
  finished_ = true;
}

std::string_view RoutePlan::file_bytes() const {
  if (!finished_) fault("the line plan file taken from a route plan still being filled");
  return {bytes_.data(), 2 * second_run_};
}

}  // namespace scenario
