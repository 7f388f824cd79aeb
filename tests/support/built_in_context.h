#pragma once

// A build context with the built-in identity whose files go to a scratch folder.

#include "compiler/build_context.h"
#include "support/temp_folder.h"

namespace scenario::testing {

inline BuildContext built_in_context(const TempFolder& folder, FileStore& files) {
  BuildContext ctx;
  ctx.identity = ascii_identity("ValdorenaC_Morlavesa", "4721");
  ctx.folder = folder.path().string();
  ctx.files = &files;
  return ctx;
}

}  // namespace scenario::testing
