#pragma once

// The built-in line as a line source file.

#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer line_source_lines();

}  // namespace scenario
