#pragma once

// The scenario notes for the driver.

#include "compiler/build_context.h"
#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer notes_lines();

// Writes the file into the build's folder.
void dati_note(const BuildContext& ctx);

}  // namespace scenario
