#include "platform/platform_factory.h"
#include "platform/windows_platform.h"

namespace scenario {

std::unique_ptr<Platform> make_platform() { return std::make_unique<WindowsPlatform>(); }

}  // namespace scenario
