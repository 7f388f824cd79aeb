#pragma once

// The three compiled files the simulator loads: the line plan (tagged entries),
// the train and station table (variable-length records) and the cells (15 bytes
// each). Little-endian, no padding, no header.

#include <cstdint>
#include <string>

#include "compiler/build_context.h"
#include "compiler/compiled_format.h"
#include "compiler/route_model.h"

namespace scenario {

std::string encode_cell_file(const RouteModel& model);
// Throws std::length_error for a record text longer than its 16-bit length field allows.
std::string encode_table_file(const RouteModel& model);
std::string encode_line_plan_file(const RoutePlan& plan);

// Writes the line plan (when the plan flag is set and a plan exists), then the
// table, then the cells, each replacing its earlier file. Throws FileError.
void write_compiled_files(const BuildContext& ctx);

}  // namespace scenario
