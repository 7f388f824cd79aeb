#pragma once

// Compiled scenarios for the tests of the commands that read them, made by the
// shipped tool from source texts, and the tool run as an author runs it.

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace scenario::testing {

// Runs scenario_tool with `arguments` in the test's folder.
ProgramRun run_tool(const std::vector<std::string>& arguments);

// Writes the two sources into `folder` and compiles them into `folder`/`out`
// with `scenario_tool compile` under the given names, adding `extra` options.
// Fails the test (fatally) when the compile does not end cleanly.
std::filesystem::path compile_sources(const TempFolder& folder, const std::string& line, const std::string& train,
                                      const std::string& name, const std::string& number,
                                      const std::vector<std::string>& extra = {});

// The built-in scenario compiled into `folder`/out.
std::filesystem::path compile_built_in(const TempFolder& folder, const std::vector<std::string>& extra = {});

// The built-in scenario's file names.
inline constexpr const char* kBuiltInCells = "ValdorenaC_Morlavesa_4721.dat";
inline constexpr const char* kBuiltInTable = "ValdorenaC_Morlavesa_4721.sim";
inline constexpr const char* kBuiltInPlan = "ValdorenaC_Morlavesa_linea.dat";

}  // namespace scenario::testing
