#pragma once

#include <string>

namespace scenario {

// The running executable's own file, from the operating system (not from the
// current folder or the program's first argument).
std::string executable_path();

// The folder that holds it.
std::string executable_folder();

}  // namespace scenario
