#include "tools/utf8_paths.h"

#include <CLI/CLI.hpp>
#include <system_error>

namespace scenario {

std::filesystem::path utf8_path(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8_text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

CLI::Validator existing_file() {
  // The words of CLI11's own check, which reads the name in the narrow encoding.
  return CLI::Validator(
      [](std::string& name) -> std::string {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(utf8_path(name), error);
        if (error || !std::filesystem::exists(status)) return "File does not exist: " + name;
        if (std::filesystem::is_directory(status)) return "File is actually a directory: " + name;
        return {};
      },
      "FILE");
}

}  // namespace scenario
