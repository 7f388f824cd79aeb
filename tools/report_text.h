#pragma once

// Small text helpers the commands share for their reports.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "compiler/route_model.h"

namespace scenario {

// A number with a fixed count of decimals: fixed(1234.5678, 1) is "1234.6".
inline std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// Characters, not bytes, of UTF-8 text.
inline size_t display_width(std::string_view utf8) {
  size_t width = 0;
  for (char c : utf8) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return width;
}

// Filled with blanks to `width` characters, on the right or the left.
inline std::string pad_right(std::string text, size_t width) {
  const size_t have = display_width(text);
  if (have < width) text.append(width - have, ' ');
  return text;
}
inline std::string pad_left(const std::string& text, size_t width) {
  const size_t have = display_width(text);
  return have < width ? std::string(width - have, ' ') + text : text;
}

// "950..999 m": the metres a cell covers, or a run of cells.
inline std::string cell_metres(int64_t first_cell, int64_t last_cell) {
  return std::to_string(first_cell * kCellLength) + ".." + std::to_string((last_cell + 1) * kCellLength - 1) + " m";
}

}  // namespace scenario
