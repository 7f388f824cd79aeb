#include "compiler/line_placement.h"

namespace scenario {

// Placement still to come.

}  // namespace scenario
