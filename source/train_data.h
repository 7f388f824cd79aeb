#pragma once

// The built-in train as a train source file.

#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer train_source_lines();

}  // namespace scenario
