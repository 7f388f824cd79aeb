#pragma once

// Paths travel through the tool as UTF-8 text, as the author typed them.
// std::filesystem takes a narrow string in the system's narrow encoding,
// which on Windows is the ANSI code page, not UTF-8: the tool's paths go
// through these instead.

#include <filesystem>
#include <string>
#include <string_view>

namespace CLI {
class Validator;
}

namespace scenario {

std::filesystem::path utf8_path(std::string_view text);
std::string utf8_text(const std::filesystem::path& path);

// An option that names an existing file, checked by its UTF-8 name.
CLI::Validator existing_file();

}  // namespace scenario
