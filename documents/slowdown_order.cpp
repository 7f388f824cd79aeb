#include "documents/slowdown_order.h"

namespace scenario {

LineBuffer slowdown_order_lines() {
  LineBuffer lines;
  // Content still to come.
  lines.close();
  return lines;
}

void dati_rallentamenti(const BuildContext& ctx) { write_text_file(ctx, slowdown_order_name(ctx.identity), slowdown_order_lines()); }

}  // namespace scenario
