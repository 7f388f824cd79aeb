#include "platform/headless_platform.h"

#include <cstdio>
#include <cstdlib>

#include "platform/start_folder.h"

namespace scenario {

std::string HeadlessPlatform::start_folder() { return executable_folder(); }

void HeadlessPlatform::show_waiting_window() {
  std::fputs("Attendere\n", stderr);
  std::fflush(stderr);
}

int HeadlessPlatform::show_fatal_report(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::fflush(stderr);
  return 1;  // the OK button's code
}

void HeadlessPlatform::end_process(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

std::unique_ptr<Platform> make_platform() { return std::make_unique<HeadlessPlatform>(); }

}  // namespace scenario
