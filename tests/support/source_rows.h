#pragma once

// Source rows taken apart with plain string code, independently of the
// compiler's field reader, so that a fault in one cannot hide one in the other.

#include <string>
#include <vector>

namespace scenario::testing {

inline std::vector<std::string> split_at_commas(const std::string& row) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma = row.find(','); comma != std::string::npos; comma = row.find(',', start)) {
    fields.push_back(row.substr(start, comma - start));
    start = comma + 1;
  }
  fields.push_back(row.substr(start));
  return fields;
}

}  // namespace scenario::testing
