#pragma once

// The day's slowdown order.

#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer slowdown_order_lines();

}  // namespace scenario
