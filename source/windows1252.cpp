#include "source/windows1252.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace scenario {
namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five bytes with no character.
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<unsigned char> byte_for(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The character that starts at `i`, moving `i` past it; nothing when the
// bytes there are not valid UTF-8.
std::optional<char32_t> decode_utf8(std::string_view text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  char32_t cp = 0;
  size_t extra = 0;
  if (lead < 0x80) {
    cp = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    cp = lead & 0x1Fu;
    extra = 1;
  } else if ((lead & 0xF0) == 0xE0) {
    cp = lead & 0x0Fu;
    extra = 2;
  } else if ((lead & 0xF8) == 0xF0) {
    cp = lead & 0x07u;
    extra = 3;
  } else {
    return std::nullopt;
  }
  if (extra > 0 && i + extra >= text.size()) return std::nullopt;
  for (size_t k = 1; k <= extra; ++k) {
    const auto cont = static_cast<unsigned char>(text[i + k]);
    if ((cont & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (cont & 0x3Fu);
  }
  // Overlong forms, surrogates and numbers past the last character are not valid UTF-8.
  if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
      (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    return std::nullopt;
  }
  i += extra + 1;
  return cp;
}

}  // namespace

std::optional<std::string> utf8_to_cp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto cp = decode_utf8(utf8, i);
    if (!cp) return std::nullopt;
    const auto byte = byte_for(*cp);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
  }
  return out;
}

bool is_valid_utf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    if (!decode_utf8(text, i)) return false;
  }
  return true;
}

std::string cp1252(std::string_view utf8) {
  auto bytes = utf8_to_cp1252(utf8);
  if (!bytes) throw std::invalid_argument("text not representable in Windows-1252: " + std::string(utf8));
  return *bytes;
}

std::string cp1252_to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t cp = b;
    if (b >= 0x80 && b < 0xA0) {
      cp = kHighControls[b - 0x80u];
      if (cp == 0) cp = 0xFFFD;
    }
    append_utf8(out, cp);
  }
  return out;
}

unsigned char cp1252_to_lower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;  // S caron
    case 0x8C:
      return 0x9C;  // OE
    case 0x8E:
      return 0x9E;  // Z caron
    case 0x9F:
      return 0xFF;  // Y diaeresis
    default:
      return c;
  }
}

}  // namespace scenario
