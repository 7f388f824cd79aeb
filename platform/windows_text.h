#pragma once

// Paths travel through the build as UTF-8; Windows takes them as UTF-16.

#include <string>
#include <string_view>

namespace scenario {

std::wstring utf8_to_wide(std::string_view text);
std::string wide_to_utf8(std::wstring_view text);

// The system's own words for an error code, e.g. "Access is denied."
std::string system_error_text(unsigned long code);

}  // namespace scenario
