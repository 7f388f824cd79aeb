#pragma once

// The train card with the timetable grid.

#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer train_card_lines();

}  // namespace scenario
