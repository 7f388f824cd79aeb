#include "compiler/train_reader.h"

namespace scenario {

void read_train_source(BuildContext&, int32_t) {
  // Reading still to come.
}

}  // namespace scenario
