#include "documents/train_card.h"

namespace scenario {

LineBuffer train_card_lines() {
  LineBuffer lines;
  // Content still to come.
  lines.close();
  return lines;
}

void dati_scheda(const BuildContext& ctx) { write_text_file(ctx, train_card_name(ctx.identity), train_card_lines()); }

}  // namespace scenario
