#pragma once

#include <string>
#include <string_view>

namespace scenario {

// A fresh hidden name in the same folder as `path`, so that the final rename
// replaces the file within one folder. `separators` are the characters that
// end a folder name on this system. Each call gives another name.
std::string temporary_name_beside(const std::string& path, std::string_view separators);

}  // namespace scenario
