#include "documents/notes.h"

namespace scenario {

LineBuffer notes_lines() {
  LineBuffer lines;
  // Content still to come.
  lines.close();
  return lines;
}

void dati_note(const BuildContext& ctx) { write_text_file(ctx, notes_name(ctx.identity), notes_lines()); }

}  // namespace scenario
