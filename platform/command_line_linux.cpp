#include "platform/command_line.h"

namespace scenario {

std::vector<std::string> utf8_arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

}  // namespace scenario
