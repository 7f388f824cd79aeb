#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/command_line.h"
#include "platform/windows_text.h"

namespace scenario {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  // Without the wide command line the narrow one is all there is.
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  arguments.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) arguments.push_back(wide_to_utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace scenario
