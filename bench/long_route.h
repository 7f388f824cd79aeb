#pragma once

// The longest route the line source allows (1,000,000 m), densely built: about
// 2,900 curves, 3,000 gradients, 40 stations and 200 signals. It measures the
// compile where the route plan dominates, and its compiled files are held
// byte for byte by a test.

#include <cstdint>
#include <string>

namespace scenario::bench {

inline constexpr int32_t kLongRouteLength = 1000000;

struct LongRouteSources {
  std::string line;   // the line source file's bytes
  std::string train;  // the train source file's bytes
};

// The same bytes on every call.
LongRouteSources long_route_sources();

}  // namespace scenario::bench
