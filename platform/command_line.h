#pragma once

// A program's arguments as UTF-8 text, whatever system hands them over.

#include <string>
#include <vector>

namespace scenario {

// Linux passes the arguments on as they came (UTF-8 on every current
// desktop). Windows hands narrow arguments over in its ANSI code page, which
// turns every character that code page lacks into "?": there they are taken
// from the system's wide command line instead.
std::vector<std::string> utf8_arguments(int argc, char** argv);

}  // namespace scenario
