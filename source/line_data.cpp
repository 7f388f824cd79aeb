#include "source/line_data.h"

namespace scenario {

LineBuffer line_source_lines() {
  LineBuffer lines;
  // Content still to come.
  lines.close();
  return lines;
}

void dati_linea(const BuildContext& ctx) { write_text_file(ctx, line_source_name(ctx.identity), line_source_lines()); }

}  // namespace scenario
