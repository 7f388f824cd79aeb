// The shipped programs under what a user's machine does to them: a limit on
// the size of files, a kill at any moment, two builds started at once in one
// folder, a build that must wait for another.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/folder_lock.h"
#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"
#include "support/build_files.h"
#include "support/builder_runs.h"
#include "support/child_process.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const std::string kProgram = "scenario_builder";

// What a clean build writes.
const std::map<std::string, std::string>& new_files() {
  static const std::map<std::string, std::string> files = [] {
    const testing::BuildOutcome outcome = testing::build_in_empty_folder(SCENARIO_BUILDER_PATH, {"DISPLAY="});
    EXPECT_EQ(outcome.status, 0) << outcome.standard_error;
    return outcome.files;
  }();
  return files;
}

// The builder copied into a folder of its own, as a user installs it.
struct Installation {
  testing::TempFolder folder;
  fs::path program = folder.path() / kProgram;

  Installation() { fs::copy_file(SCENARIO_BUILDER_PATH, program); }
  void put_earlier_build() const {
    for (const std::string& name : testing::kKeptFiles) {
      testing::write_file(folder.path() / name, testing::earlier_version(name));
    }
  }
  // Every file in the folder, by name.
  std::map<std::string, std::string> files() const {
    std::map<std::string, std::string> found;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
      const std::string name = entry.path().filename().string();
      found[name] = name == kProgram ? "" : testing::read_file(entry.path());
    }
    return found;
  }
  std::string wrong(bool earlier_build) const {
    return testing::wrong_with(files(), new_files(), earlier_build, kProgram);
  }
};

// The built-in sources as an author's own files, and a folder for the outputs.
struct AuthorSources {
  testing::TempFolder folder;
  fs::path out = folder.path() / "out";

  AuthorSources() {
    testing::write_file(folder.path() / "line.txt", render_text_file(line_source_lines()));
    testing::write_file(folder.path() / "train.txt", render_text_file(train_source_lines()));
    fs::create_directory(out);
  }
  std::vector<std::string> compile_arguments() const {
    return {"compile",
            "--line",
            (folder.path() / "line.txt").string(),
            "--train",
            (folder.path() / "train.txt").string(),
            "--name",
            "ValdorenaC_Morlavesa",
            "--train-number",
            "4721",
            "--out",
            out.string()};
  }
};

size_t files_in(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A limit on the size of files (ulimit -f 500) is a failed write like a full disk.
TEST(HardFaults, AFileSizeLimitStopsTheBuildNamingTheFileWithTheEarlierFilesKept) {
  Installation home;
  home.put_earlier_build();
  const auto run =
      testing::run_program(home.program.string(), {}, home.folder.path().string(), {"DISPLAY="}, 500 * 1024);
  EXPECT_EQ(run.status, 1) << run.error_text;
  // The line plan, almost a megabyte, is the first file over the limit.
  EXPECT_NE(run.error_text.find("cannot write " + (home.folder.path() / "ValdorenaC_Morlavesa_linea.dat").string() +
                                ": File too large"),
            std::string::npos)
      << run.error_text;
  EXPECT_EQ(home.wrong(true), "");
  for (const std::string& name : testing::kCompiledFiles) {
    EXPECT_EQ(testing::version_of(home.files(), name, new_files()), testing::Version::earlier) << name;
  }
}

TEST(HardFaults, AFileSizeLimitStopsTheAuthorToolNamingTheFile) {
  const AuthorSources author;
  testing::write_file(author.out / "ValdorenaC_Morlavesa_linea.dat", "earlier plan");

  const auto run = testing::run_program(SCENARIO_TOOL_PATH, author.compile_arguments(), author.folder.path().string(),
                                        {}, 500 * 1024);
  EXPECT_EQ(run.status, 1) << run.error_text;
  EXPECT_NE(run.error_text.find("ValdorenaC_Morlavesa_linea.dat: File too large"), std::string::npos) << run.error_text;
  EXPECT_EQ(testing::read_file(author.out / "ValdorenaC_Morlavesa_linea.dat"), "earlier plan");
  EXPECT_EQ(files_in(author.out), 1u);
}

// A complete new file of the build under a hidden name: what a build killed
// between naming a new file and renaming it over its target leaves (the two
// calls cannot be one, and about one kill in a hundred falls between them).
bool is_whole_under_a_hidden_name(const std::string& name, const std::string& bytes) {
  if (name.rfind(".tmp-", 0) != 0) return false;
  for (const std::string& build_file : testing::kBuildFiles) {
    const std::map<std::string, std::string> as_that_file = {{build_file, bytes}};
    if (testing::version_of(as_that_file, build_file, new_files()) == testing::Version::fresh) return true;
  }
  return false;
}

// Killed at any moment (a crash, the task manager), the build leaves each file
// whole, earlier or new, and nothing else; the next build then runs clean.
TEST(HardFaults, ABuildKilledAtAnyMomentLeavesEveryFileWholeAndAlmostNeverAHiddenCopy) {
  Installation home;
  const testing::TempFolder scratch;
  const std::string error_file = (scratch.path() / "stderr").string();
  // How long one whole build takes here, from start to end: the quickest of
  // three, so that a slow first start (cold caches, a busy machine) does not
  // send most kills past the end of the builds that follow.
  auto whole_build = std::chrono::microseconds::max();
  for (int calibration = 0; calibration < 3; ++calibration) {
    const auto started = std::chrono::steady_clock::now();
    testing::ChildProcess build(home.program.string(), {}, error_file, {"DISPLAY="});
    ASSERT_EQ(build.wait_for(milliseconds(60'000)), 0);
    whole_build = std::min(
        whole_build, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started));
  }

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // The kill falls anywhere within the time a build takes. A machine that
  // grows less busy than it was while measuring makes builds quicker: a kill
  // that found the build already over narrows the window for the next ones.
  long window_us = whole_build.count();
  int killed_while_building = 0;
  int left_between_naming_and_renaming = 0;
  for (int run = 0; run < 30; ++run) {
    home.put_earlier_build();
    testing::ChildProcess build(home.program.string(), {}, error_file, {"DISPLAY="});
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<long>(0, window_us)(random)));
    if (build.kill() != 0) {
      ++killed_while_building;
    } else {
      window_us = window_us * 4 / 5;
    }

    std::map<std::string, std::string> files = home.files();
    for (auto file = files.begin(); file != files.end();) {
      if (is_whole_under_a_hidden_name(file->first, file->second)) {
        ++left_between_naming_and_renaming;
        fs::remove(home.folder.path() / file->first);
        file = files.erase(file);
      } else {
        ++file;
      }
    }
    ASSERT_EQ(testing::wrong_with(files, new_files(), true, kProgram), "") << "run " << run;
  }
  // Most kills fall in the middle of a build, not after it.
  EXPECT_GE(killed_while_building, 15);
  // About one kill in a hundred falls between naming and renaming; were the
  // new files named while being written, about one in three would.
  EXPECT_LE(left_between_naming_and_renaming, 3);

  const auto run = testing::run_program(home.program.string(), {}, home.folder.path().string(), {"DISPLAY="});
  EXPECT_EQ(run.status, 0) << run.error_text;
  for (const std::string& name : testing::kKeptFiles) {
    EXPECT_EQ(testing::version_of(home.files(), name, new_files()), testing::Version::fresh) << name;
  }
}

// A double double-click: the second build waits for the first, then builds.
TEST(HardFaults, TwoBuildsStartedTogetherBothSucceedAndLeaveACleanBuild) {
  for (int trial = 0; trial < 10; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    Installation home;
    const testing::TempFolder scratch;
    testing::ChildProcess first(home.program.string(), {}, (scratch.path() / "first").string(), {"DISPLAY="});
    testing::ChildProcess second(home.program.string(), {}, (scratch.path() / "second").string(), {"DISPLAY="});
    EXPECT_EQ(first.wait_for(milliseconds(60'000)), 0) << testing::read_file(scratch.path() / "first");
    EXPECT_EQ(second.wait_for(milliseconds(60'000)), 0) << testing::read_file(scratch.path() / "second");

    std::map<std::string, std::string> expected = new_files();
    expected[kProgram] = "";
    EXPECT_TRUE(home.files() == expected) << home.wrong(false);
  }
}

// While another build holds the folder, the builder and the author tool wait,
// having written nothing, and go on once it is free.
TEST(HardFaults, BuilderAndAuthorToolWaitForTheBuildThatHoldsTheFolder) {
  const AuthorSources author;
  const Installation home;
  struct Waiter {
    std::string program;
    std::vector<std::string> arguments;
    fs::path folder;
  };
  for (const Waiter& waiter : {Waiter{home.program.string(), {}, home.folder.path()},
                               Waiter{SCENARIO_TOOL_PATH, author.compile_arguments(), author.out}}) {
    SCOPED_TRACE(waiter.program);
    const size_t before = files_in(waiter.folder);
    const std::string error_file = (author.folder.path() / "stderr").string();
    auto holder = std::make_unique<FolderLock>(waiter.folder.string());
    testing::ChildProcess waiting(waiter.program, waiter.arguments, error_file, {"DISPLAY="});
    EXPECT_FALSE(waiting.wait_for(milliseconds(500)).has_value());
    EXPECT_EQ(files_in(waiter.folder), before);
    holder.reset();
    EXPECT_EQ(waiting.wait_for(milliseconds(60'000)), 0) << testing::read_file(error_file);
    EXPECT_GT(files_in(waiter.folder), before);
  }
}

}  // namespace
}  // namespace scenario
