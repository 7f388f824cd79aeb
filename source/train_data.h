#pragma once

// The built-in train as a train source file.

#include "compiler/build_context.h"
#include "source/text_writer.h"

namespace scenario {

// The file's lines, closed by the end-of-file sentinel.
LineBuffer train_source_lines();

// Writes the file into the build's folder.
void dati_treno(const BuildContext& ctx);

}  // namespace scenario
