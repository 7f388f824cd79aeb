// One build at a time in a folder: a second holder waits for the first,
// however it spells the folder; holders of other folders do not wait; the
// lock goes with its process and puts nothing into the folder.

#include "platform/folder_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace scenario {
namespace {

using namespace std::chrono_literals;

// The same folder as another build might name it.
std::vector<std::string> spellings_of(const std::string& folder) {
#ifdef _WIN32
  std::string capitals = folder;
  for (char& c : capitals) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return {folder, folder + "\\.", folder + "\\", capitals};
#else
  return {folder, folder + "/.", folder + "/"};
#endif
}

// Takes the lock in a thread of its own and lets it go at once; false when
// it could not be taken within the time (the thread is then left waiting).
bool taken_within(const std::string& folder, std::chrono::seconds limit) {
  auto taken = std::make_shared<std::promise<void>>();
  std::future<void> done = taken->get_future();
  std::thread([folder, taken] {
    const FolderLock lock(folder);
    taken->set_value();
  }).detach();
  return done.wait_for(limit) == std::future_status::ready;
}

TEST(FolderLock, ASecondHolderWaitsForTheFirstHoweverItSpellsTheFolder) {
  const testing::TempFolder scratch;
  const std::string folder = scratch.path().string();
  for (const std::string& spelling : spellings_of(folder)) {
    SCOPED_TRACE(spelling);
    auto first = std::make_unique<FolderLock>(folder);
    std::atomic<bool> second_holds{false};
    std::thread second([&] {
      const FolderLock lock(spelling);
      second_holds = true;
    });
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(second_holds);
    first.reset();
    second.join();
    EXPECT_TRUE(second_holds);
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(FolderLock, HoldersOfOtherFoldersDoNotWait) {
  const testing::TempFolder held;
  const testing::TempFolder other;
  const std::filesystem::path nested = held.path() / "nested";
  std::filesystem::create_directory(nested);
  const FolderLock lock(held.path().string());
  EXPECT_TRUE(taken_within(other.path().string(), 10s));
  EXPECT_TRUE(taken_within(nested.string(), 10s));
}

TEST(FolderLock, AFolderThatIsNotThereCannotBeLocked) {
  const testing::TempFolder scratch;
  EXPECT_THROW(FolderLock((scratch.path() / "missing").string()), FileError);
}

// Where the holder that dies keeps its folder. On Windows the child of a
// death test runs the test again from its start, in a process of its own; it
// finds the parent's folder in the environment.
constexpr const char* kDyingHolderFolder = "SCENARIO_DYING_HOLDER_FOLDER";

void set_environment(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());  // an empty value removes the name
#else
  if (value.empty()) {
    unsetenv(name);
  } else {
    setenv(name, value.c_str(), 1);
  }
#endif
}

TEST(FolderLockDeathTest, TheLockGoesWithItsProcess) {
  std::optional<testing::TempFolder> scratch;
  std::string folder;
  if (const char* inherited = std::getenv(kDyingHolderFolder)) {
    folder = inherited;
  } else {
    scratch.emplace();
    folder = scratch->path().string();
    set_environment(kDyingHolderFolder, folder);
  }
  EXPECT_EXIT(
      {
        const FolderLock lock(folder);
        // Ends at once, as a killed build does: nothing lets the lock go but the system.
        std::_Exit(7);
      },
      ::testing::ExitedWithCode(7), "");
  set_environment(kDyingHolderFolder, "");
  EXPECT_TRUE(taken_within(folder, 20s));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace scenario
