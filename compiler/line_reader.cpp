#include "compiler/line_reader.h"

namespace scenario {

LineReadResult read_line_source(BuildContext&) {
  // Reading still to come.
  return LineReadResult{};
}

}  // namespace scenario
