#pragma once

// The backend for machines without a desktop: the waiting window and the fatal
// report become lines on standard error.

#include "platform/posix_platform.h"

namespace scenario {

class HeadlessPlatform : public PosixPlatform {
 public:
  void show_waiting_window() override;
  int show_fatal_report(const std::string& message) override;
};

}  // namespace scenario
