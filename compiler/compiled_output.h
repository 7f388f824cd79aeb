#pragma once

// The three compiled files the simulator loads: the line plan (tagged entries),
// the train and station table (variable-length records) and the cells (15 bytes
// each). Little-endian, no padding, no header.

#include <cstdint>
#include <string>

#include "compiler/compiled_format.h"
#include "compiler/file_store.h"
#include "compiler/route_model.h"
#include "compiler/scenario_files.h"

namespace scenario {

std::string encode_cell_file(const RouteModel& model);
// A record text longer than its 16-bit length field allows is a fault of ours: std::logic_error.
std::string encode_table_file(const RouteModel& model);

// Replaces the line plan (when the model has one), the table and the cells in
// `folder` together, in that order: all three are written whole before the
// first earlier file is replaced. The line plan is held as its file's bytes
// (route_plan.h) and is written as it stands, so it must be finished. Throws
// FileError.
void write_compiled_files(FileStore& files, const ScenarioFolder& folder, const Identity& identity,
                          const RouteModel& model);

}  // namespace scenario
