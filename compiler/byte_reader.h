#pragma once

// Little-endian field decoding from a buffer held whole in memory: the
// counterpart of byte_writer.h.

#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "compiler/byte_writer.h"  // get_le, beside put_le

namespace scenario {

// A cursor over bytes. The caller checks remaining() before it reads, so that
// it can say what is missing and where; reading past the end anyway is a bug
// of ours and throws std::logic_error rather than reading beyond the buffer.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  size_t offset() const { return offset_; }
  size_t remaining() const { return bytes_.size() - offset_; }

  uint8_t get_u8() { return static_cast<uint8_t>(*take(1)); }
  uint16_t get_u16() { return get_le<uint16_t>(take(2)); }
  int16_t get_i16() { return static_cast<int16_t>(get_le<uint16_t>(take(2))); }
  int32_t get_i32() { return static_cast<int32_t>(get_le<uint32_t>(take(4))); }
  double get_f64() { return std::bit_cast<double>(get_le<uint64_t>(take(8))); }
  std::string_view get_bytes(size_t n) { return std::string_view(take(n), n); }

 private:
  const char* take(size_t n) {
    if (n > remaining()) throw std::logic_error("ByteReader: read past the end of the buffer");
    const char* at = bytes_.data() + offset_;
    offset_ += n;
    return at;
  }

  std::string_view bytes_;
  size_t offset_ = 0;
};

}  // namespace scenario
