#include "image.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace scenario::gui {
namespace {

bool close_enough(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
         std::abs(a.blue - b.blue) <= tolerance;
}

void put_u32_big_endian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xff);
}

uint32_t crc32(const std::string& bytes, size_t from) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xffffffffu;
  for (size_t i = from; i < bytes.size(); ++i) crc = table[(crc ^ static_cast<uint8_t>(bytes[i])) & 0xff] ^ (crc >> 8);
  return crc ^ 0xffffffffu;
}

void put_chunk(std::string& out, const char* type, const std::string& data) {
  put_u32_big_endian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out += type;
  out += data;
  put_u32_big_endian(out, crc32(out, start));
}

// A zlib stream of stored (uncompressed) blocks: larger than need be, but a
// screenshot a person looks at once needs no compression library.
std::string zlib_stored(const std::string& raw) {
  std::string out = "\x78\x01";
  constexpr size_t kBlock = 65535;
  size_t offset = 0;
  do {
    const size_t length = std::min(kBlock, raw.size() - offset);
    const bool last = offset + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(length & 0xff);
    out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xff);
    out += static_cast<char>((~length >> 8) & 0xff);
    out.append(raw, offset, length);
    offset += length;
  } while (offset < raw.size());
  uint32_t a = 1;
  uint32_t b = 0;
  for (const char c : raw) {
    a = (a + static_cast<uint8_t>(c)) % 65521;
    b = (b + a) % 65521;
  }
  put_u32_big_endian(out, (b << 16) | a);
  return out;
}

}  // namespace

std::optional<Box> ink_box(const Image& image, const Box& area, Rgb background) {
  std::optional<Box> ink;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (image.at(x, y) == background) continue;
      if (!ink) ink = Box{x, y, x + 1, y + 1};
      ink->left = std::min(ink->left, x);
      ink->top = std::min(ink->top, y);
      ink->right = std::max(ink->right, x + 1);
      ink->bottom = std::max(ink->bottom, y + 1);
    }
  }
  return ink;
}

Image crop(const Image& image, const Box& area) {
  Image part(area.width(), area.height());
  for (int y = 0; y < part.height; ++y) {
    for (int x = 0; x < part.width; ++x) part.at(x, y) = image.at(area.left + x, area.top + y);
  }
  return part;
}

std::optional<Box> find_image(const Image& haystack, const Image& needle, int tolerance) {
  for (int top = 0; top + needle.height <= haystack.height; ++top) {
    for (int left = 0; left + needle.width <= haystack.width; ++left) {
      bool same = true;
      for (int y = 0; y < needle.height && same; ++y) {
        for (int x = 0; x < needle.width && same; ++x) {
          same = close_enough(haystack.at(left + x, top + y), needle.at(x, y), tolerance);
        }
      }
      if (same) return Box{left, top, left + needle.width, top + needle.height};
    }
  }
  return std::nullopt;
}

std::string png_bytes(const Image& image) {
  std::string header;
  put_u32_big_endian(header, static_cast<uint32_t>(image.width));
  put_u32_big_endian(header, static_cast<uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace

  std::string raw;
  for (int y = 0; y < image.height; ++y) {
    raw += '\0';  // no filter on this row
    for (int x = 0; x < image.width; ++x) {
      const Rgb& p = image.at(x, y);
      raw += static_cast<char>(p.red);
      raw += static_cast<char>(p.green);
      raw += static_cast<char>(p.blue);
    }
  }
  std::string png = "\x89PNG\r\n\x1a\n";
  put_chunk(png, "IHDR", header);
  put_chunk(png, "IDAT", zlib_stored(raw));
  put_chunk(png, "IEND", "");
  return png;
}

void write_png(const std::string& path, const Image& image) {
  const std::string bytes = png_bytes(image);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace scenario::gui
