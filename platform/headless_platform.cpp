#include "platform/headless_platform.h"

#include "platform/terminal_lines.h"
#include "platform/waiting_window_layout.h"

namespace scenario {

void HeadlessPlatform::show_waiting_window() { say_on_terminal(kWaitingText); }

int HeadlessPlatform::show_fatal_report(const std::string& message) {
  say_on_terminal(message);
  return 1;  // the OK button's code
}

}  // namespace scenario
