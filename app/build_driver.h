#pragma once

// The builder's whole run: write the scenario's texts, compile them, end.

#include <string>

#include "platform/services.h"

namespace scenario {

// Runs the build once in the platform's start folder and returns the process
// status: 0 clean, 2 when the compiler recorded a build error (reported on
// standard error), 1 when a file could not be written or no cells were built
// (reported as the platform reports failures, in a box on a desktop). A fatal
// report ends the process from inside.
int run_build(Platform& platform);

// The fatal report: " Errore n. " and the error number in a box with one OK
// button, then the process ends.
[[noreturn]] void report_fatal_error(Platform& platform, const std::string& number);

}  // namespace scenario
