#pragma once

namespace scenario {

// The caption of the fatal report's box on every desktop.
inline constexpr char kApplicationTitle[] = "Scenario builder";

}  // namespace scenario
