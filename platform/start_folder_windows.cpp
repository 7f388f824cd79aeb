#include <windows.h>

#include <string>

#include "platform/services.h"
#include "platform/start_folder.h"
#include "platform/windows_text.h"

namespace scenario {

std::string executable_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw FileError("locate", "the running program", system_error_text(GetLastError()));
    // A full buffer means the name was cut short: try again with room to spare.
    if (length < path.size()) {
      path.resize(length);
      return wide_to_utf8(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string executable_folder() {
  const std::string path = executable_path();
  const size_t backslash = path.find_last_of('\\');
  return backslash == std::string::npos ? path : path.substr(0, backslash);
}

}  // namespace scenario
