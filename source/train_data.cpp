#include "source/train_data.h"

namespace scenario {

LineBuffer train_source_lines() {
  LineBuffer lines;
  // Content still to come.
  lines.close();
  return lines;
}

void dati_treno(const BuildContext& ctx) { write_text_file(ctx, train_source_name(ctx.identity), train_source_lines()); }

}  // namespace scenario
