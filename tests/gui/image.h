#pragma once

// Screenshots as plain RGB pixels, and the few questions the window tests ask
// of them: where something was drawn, and where a smaller picture stands.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::gui {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Left and top inclusive, right and bottom exclusive.
struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool contains(const Box& other) const {
    return other.left >= left && other.top >= top && other.right <= right && other.bottom <= bottom;
  }
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row, top row first

  Image() = default;
  Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h)) {}
  Rgb& at(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
  const Rgb& at(int x, int y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
  Box bounds() const { return {0, 0, width, height}; }
};

// The smallest box around the pixels of `area` that differ from `background`.
std::optional<Box> ink_box(const Image& image, const Box& area, Rgb background);

// The part of `image` inside `area`.
Image crop(const Image& image, const Box& area);

// Where `needle` stands in `haystack` pixel for pixel (each colour channel
// within `tolerance`), as the box it covers; the first such place, row by row.
std::optional<Box> find_image(const Image& haystack, const Image& needle, int tolerance);

// The image as a PNG file (8-bit RGB, stored without compression).
std::string png_bytes(const Image& image);
void write_png(const std::string& path, const Image& image);

}  // namespace scenario::gui
