#pragma once

// Source rows put together and taken apart with plain string code,
// independently of the compiler's field reader, so that a fault in one cannot
// hide one in the other.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::testing {

// Lines of a source file, each ended by carriage return and line feed.
inline std::string lines(std::initializer_list<std::string_view> rows) {
  std::string text;
  for (std::string_view row : rows) {
    text += row;
    text += "\r\n";
  }
  return text;
}

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
