#pragma once

// Runs a program with a terminal as its standard output and standard error,
// as a person at a console runs it (POSIX systems with util-linux's script).

#include <string>
#include <vector>

#include "support/run_program.h"

namespace scenario::testing {

// Runs `program` with `arguments` in `folder` on a pseudo-terminal, the
// environment changed as run_program() takes it. Both streams of the program
// come back together in `output_text`.
ProgramRun run_on_terminal(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& folder, const std::vector<std::string>& environment = {});

}  // namespace scenario::testing
