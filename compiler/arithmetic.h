#pragma once

// Rounding and comparison helpers shared by the compile steps.

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace scenario {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// std::round would send halves away from zero, which moves boards by a cell.
inline double nearest_even(double x) { return std::nearbyint(x); }

// A value that does not fit the width it is stored in: the reader turns this
// into its general read failure.
class WidthError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// nearest-even(x) as a whole number of type T; throws WidthError when it does not fit.
template <typename T>
T nearest_even_as(double x) {
  const double r = nearest_even(x);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
        r <= static_cast<double>(std::numeric_limits<T>::max()))) {
    throw WidthError("value does not fit its field");
  }
  return static_cast<T>(r);
}

// The low bits of a whole number, as a narrower field keeps them when a
// combined value or a copied value overflows it.
inline int16_t low_16_bits(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
inline uint8_t low_8_bits(int64_t x) { return static_cast<uint8_t>(static_cast<uint64_t>(x)); }

// The smaller of two values; `x` on a tie.
template <typename T>
T minimo(T x, T y) {
  return y < x ? y : x;
}

}  // namespace scenario
