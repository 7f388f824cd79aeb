#pragma once

// Malformed input: a source holds something that cannot be read into the
// route (the file ends inside a record, a value is not a whole number or does
// not fit its field, a record lies off the route). The compile turns it into
// its general read failure.

#include <optional>
#include <stdexcept>
#include <string>

namespace scenario {

// Where a field starts in its source: 1-based line and column.
struct SourcePlace {
  int line = 1;
  int column = 1;
  bool operator==(const SourcePlace&) const = default;
};

class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message) : std::runtime_error(message) {}
  InputError(const std::string& message, SourcePlace place) : std::runtime_error(message), place_(place) {}

  // Where in the source the failure arose, once known.
  const std::optional<SourcePlace>& place() const { return place_; }
  // The record's place, for a failure found below the reader (a placement, a width).
  void place_if_unknown(SourcePlace place) {
    if (!place_) place_ = place;
  }

  // Where the record being read began (its keyword field), once known: a
  // failure on a later line means the record ran short of values.
  const std::optional<SourcePlace>& record_place() const { return record_place_; }
  void set_record_place(SourcePlace place) { record_place_ = place; }

 private:
  std::optional<SourcePlace> place_;
  std::optional<SourcePlace> record_place_;
};

}  // namespace scenario
