#pragma once

// What the process writes to: a terminal, where colour helps, or a file or pipe, where it would be noise.

namespace scenario {

bool standard_error_is_terminal();

}  // namespace scenario
