#pragma once

// A long, dense scenario for tests and measurements: line and train source
// texts as an author would write them, generated deterministically (the same
// bytes on every machine and every run).

#include <cstdint>
#include <string>

namespace scenario::testing {

struct RouteSources {
  std::string line;   // line source file text, CR LF line ends
  std::string train;  // train source file text
};

// A line of `route_length_m` metres (a multiple of 2500, from 25000 up to
// 1000000). Per 1000 km it holds about 3000 curves and 3000 gradients, 80
// mountain sections, 30 sign boards, 200 speed boards, 400 signals, 40
// stations (every 25 km; every third one passed) and 10 slowdowns, and it
// compiles without a build error.
RouteSources long_route_sources(int32_t route_length_m = 1000000);

}  // namespace scenario::testing
