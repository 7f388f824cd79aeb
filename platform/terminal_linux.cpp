#include <unistd.h>

#include "platform/terminal.h"

namespace scenario {

bool standard_error_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace scenario
