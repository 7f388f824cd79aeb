#pragma once

// The day's slowdown order.

#include "compiler/build_context.h"
#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer slowdown_order_lines();

// Writes the file into the build's folder.
void dati_rallentamenti(const BuildContext& ctx);

}  // namespace scenario
