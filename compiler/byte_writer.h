#pragma once

// Little-endian field encoding into one buffer that is written in one piece,
// and the reading of a field back.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace scenario {

// Stores `v` little-endian at `out` and returns the position after it.
template <typename U>
char* put_le(char* out, U v) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out, &v, sizeof(U));
  } else {
    for (size_t i = 0; i < sizeof(U); ++i) out[i] = static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFFu);
  }
  return out + sizeof(U);
}

// The `U` stored little-endian at `in`.
template <typename U>
U get_le(const char* in) {
  if constexpr (std::endian::native == std::endian::little) {
    U v;
    std::memcpy(&v, in, sizeof(U));
    return v;
  } else {
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof(U); ++i) v |= uint64_t{static_cast<unsigned char>(in[i])} << (8 * i);
    return static_cast<U>(v);
  }
}

class ByteWriter {
 public:
  explicit ByteWriter(size_t expected_size = 0) { bytes_.reserve(expected_size); }

  void put_u8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void put_u16(uint16_t v) { put_le(v); }
  void put_i16(int16_t v) { put_le(static_cast<uint16_t>(v)); }
  void put_i32(int32_t v) { put_le(static_cast<uint32_t>(v)); }
  void put_f64(double v) { put_le(std::bit_cast<uint64_t>(v)); }
  void put_bytes(std::string_view s) { bytes_.append(s); }

  const std::string& bytes() const { return bytes_; }
  std::string take() { return std::move(bytes_); }

 private:
  template <typename U>
  void put_le(U v) {
    char raw[sizeof(U)];
    scenario::put_le(raw, v);
    bytes_.append(raw, sizeof(U));
  }
  std::string bytes_;
};

}  // namespace scenario
