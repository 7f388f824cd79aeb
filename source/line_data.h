#pragma once

// The built-in line as a line source file.

#include "compiler/build_context.h"
#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer line_source_lines();

// Writes the file into the build's folder.
void dati_linea(const BuildContext& ctx);

}  // namespace scenario
