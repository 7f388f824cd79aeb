#include <X11/Xlib.h>

#include "platform/fltk_platform.h"
#include "platform/headless_platform.h"
#include "platform/platform_factory.h"

namespace scenario {

std::unique_ptr<Platform> make_platform() {
  // Asked to open a display it cannot reach, FLTK ends the process before the
  // build has written anything; without a desktop the build runs headless.
  if (Display* display = XOpenDisplay(nullptr)) return std::make_unique<FltkPlatform>(display);
  return std::make_unique<HeadlessPlatform>();
}

}  // namespace scenario
