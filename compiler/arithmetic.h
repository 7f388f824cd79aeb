#pragma once

// Rounding and width helpers shared by the compile steps.

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "source/input_error.h"

namespace scenario {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// std::round would send halves away from zero, which moves boards by a cell.
inline double nearest_even(double x) { return std::nearbyint(x); }

// How a message names the width of a stored field.
template <typename T>
constexpr const char* width_name() {
  if constexpr (std::is_same_v<T, uint8_t>) {
    return "an 8-bit field (0 to 255)";
  } else if constexpr (std::is_same_v<T, int16_t>) {
    return "a 16-bit field (-32768 to 32767)";
  } else {
    static_assert(std::is_same_v<T, int32_t>);
    return "a 32-bit field (-2147483648 to 2147483647)";
  }
}

// nearest-even(x) as a whole number of type T. A value that does not fit the
// width it is stored in is malformed input: throws InputError.
template <typename T>
T nearest_even_as(double x) {
  const double r = nearest_even(x);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
        r <= static_cast<double>(std::numeric_limits<T>::max()))) {
    // Every value reaching here comes from 32-bit fields, well within 64 bits.
    const std::string value =
        std::isfinite(r) && std::fabs(r) < 9e18 ? std::to_string(static_cast<int64_t>(r)) : "a value";
    throw InputError(value + " does not fit " + width_name<T>());
  }
  return static_cast<T>(r);
}

// The low bits of a whole number, as a narrower field keeps them when a
// combined value or a copied value overflows it.
inline int16_t low_16_bits(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
inline uint8_t low_8_bits(int64_t x) { return static_cast<uint8_t>(static_cast<uint64_t>(x)); }

}  // namespace scenario
