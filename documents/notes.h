#pragma once

// The scenario notes for the driver.

#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer notes_lines();

}  // namespace scenario
