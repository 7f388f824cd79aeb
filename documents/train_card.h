#pragma once

// The train card with the timetable grid.

#include "compiler/build_context.h"
#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer train_card_lines();

// Writes the file into the build's folder.
void dati_scheda(const BuildContext& ctx);

}  // namespace scenario
