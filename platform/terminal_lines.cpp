#include "platform/terminal_lines.h"

#include <cstdio>

namespace scenario {

void say_on_terminal(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace scenario
