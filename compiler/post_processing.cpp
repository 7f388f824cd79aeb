#include "compiler/post_processing.h"

namespace scenario {

void post_process(RouteModel&) {
  // Derived code points still to come.
}

}  // namespace scenario
