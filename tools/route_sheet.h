#pragma once

// The route sheet of a compiled scenario: the map from the line plan, the
// height profile coloured by steepness with the speed limit and slowdowns,
// and the stations, signals, boards and kilometre marks along the route.
// One drawing for every format; cairo turns it into SVG, PNG or PDF.

#include <optional>
#include <string>
#include <string_view>

#include "compiler/compiled_decoder.h"

namespace scenario {

enum class SheetFormat { svg, png, pdf };

// By the file name's extension (.svg, .png, .pdf, any letter case).
std::optional<SheetFormat> sheet_format_for(std::string_view file_name);

// The sheet's bytes. The scenario must have its cells; without the plan the
// sheet has no map. Throws std::runtime_error when cairo reports a failure.
std::string draw_route_sheet(const DecodedScenario& scenario, SheetFormat format);

}  // namespace scenario
