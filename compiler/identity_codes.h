#pragma once

// Two sums over the scenario identity that tie the compiled files to it: the
// route code in cell 1 and the table code in record 85.

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/route_model.h"

namespace scenario {

inline constexpr std::string_view kIdentityFiller = "ppqqrrssttuuvvwwxxyyzzppqq";
inline constexpr size_t kIdentityChars = 25;

// Train number (record 86) then scenario name (record 85), lower-cased, the
// filler appended, cut to 25 characters.
std::string identity_text(const RouteModel& model);

// Weighted sum 1 x code(1) + ... + 25 x code(25), 0 to 82875; stored as the time of record 85.
int32_t table_identity_code(const RouteModel& model);
// Plain sum of the 25 codes, 0 to 6375; stored as value 2 of cell 1.
int32_t route_identity_code(const RouteModel& model);

}  // namespace scenario
