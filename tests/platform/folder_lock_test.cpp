// One build at a time in a folder: a second holder waits for the first.

#include "platform/folder_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/start_folder.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

TEST(FolderLock, ASecondHolderWaitsUntilTheFirstLetsGoAndNothingIsLeftInTheFolder) {
#ifdef _WIN32
  // The only folder the Windows program holds: its own.
  const std::string folder = executable_folder();
#else
  const testing::TempFolder scratch;
  const std::string folder = scratch.path().string();
#endif
  auto first = std::make_unique<FolderLock>(folder);
  std::atomic<bool> second_holds{false};
  std::thread second([&] {
    const FolderLock lock(folder);
    second_holds = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(second_holds);
  first.reset();
  second.join();
  EXPECT_TRUE(second_holds);
#ifndef _WIN32
  EXPECT_TRUE(std::filesystem::is_empty(folder));
#endif
}

}  // namespace
}  // namespace scenario
