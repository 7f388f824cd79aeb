#pragma once

#include <memory>

#include "platform/services.h"

namespace scenario {

// The backend this machine supports best: the desktop's when there is one,
// otherwise the headless one (Linux without a reachable X display).
std::unique_ptr<Platform> make_platform();

}  // namespace scenario
