#include "app/build_driver.h"
#include "platform/platform_factory.h"

int main() {
  auto platform = scenario::make_platform();
  platform->end_process(scenario::run_build(*platform));
}
