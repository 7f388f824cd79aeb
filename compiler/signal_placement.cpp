#include "compiler/signal_placement.h"

namespace scenario {

// Placement still to come.

}  // namespace scenario
