// The builder as it ran before it knew any desktop: the headless backend,
// whatever the machine offers. The tests hold the shipped builder against it.

#include "app/build_driver.h"
#include "platform/headless_platform.h"

int main() {
  scenario::HeadlessPlatform platform;
  platform.end_process(scenario::run_build(platform));
}
