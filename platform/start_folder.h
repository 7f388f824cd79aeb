#pragma once

#include <string>

namespace scenario {

// The folder that holds the running executable, from the operating system
// (not from the current folder or the program's first argument).
std::string executable_folder();

}  // namespace scenario
