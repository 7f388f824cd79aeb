#include <io.h>

#include <cstdio>

#include "platform/terminal.h"

namespace scenario {

bool standard_error_is_terminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace scenario
