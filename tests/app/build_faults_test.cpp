// Whole builds through the shipped replace protocol, on files in memory that
// fail call by call or lose power at any moment: whatever happens, each of the
// build's files is either its earlier version or its new one, whole.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/build_driver.h"
#include "platform/replacing_file_store.h"
#include "support/build_files.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

using testing::MemoryFileSystem;
using testing::Version;
using Call = MemoryFileSystem::Call;

const std::string kFolder = "/scenario";
const std::string kProgram = "scenario_builder";
// The folder is synced once a group of files that go in together: after the
// two sources, after the three documents, after the three compiled files.
const std::vector<std::string> kLastOfEachFolderSync = {testing::kBuildFiles[1], testing::kBuildFiles[4],
                                                        testing::kBuildFiles[7]};

std::string path_of(const std::string& name) { return kFolder + "/" + name; }

// The start folder's files by their own names.
template <typename Bytes>
std::map<std::string, Bytes> by_name(const std::map<std::string, Bytes>& files) {
  std::map<std::string, Bytes> named;
  for (const auto& [path, bytes] : files) named[path.substr(kFolder.size() + 1)] = bytes;
  return named;
}

// The build's platform with its files in memory, behind the shipped protocol.
class MemoryPlatform : public Platform {
 public:
  std::string start_folder() override { return kFolder; }
  char path_separator() const override { return '/'; }
  FileStore& files() override { return store_; }
  std::unique_ptr<FolderHold> hold_start_folder() override { return std::make_unique<FolderHold>(); }
  void show_waiting_window() override {}
  int show_fatal_report(const std::string& message) override {
    reports.push_back(message);
    return 1;
  }
  [[noreturn]] void end_process(int) override { throw std::logic_error("a file fault ended the process"); }

  MemoryFileSystem system;
  std::vector<std::string> reports;

 private:
  ReplacingFileStore store_{system};
};

// A start folder holding the program and, when asked, an earlier build.
void prepare(MemoryPlatform& platform, bool earlier_build, bool unnamed_files) {
  platform.system.put(path_of(kProgram), "the builder");
  if (earlier_build) {
    for (const std::string& name : testing::kKeptFiles)
      platform.system.put(path_of(name), testing::earlier_version(name));
  }
  if (!unnamed_files) platform.system.refuse_unnamed_files();
}

// The kept files' new bytes: what a clean build writes.
const std::map<std::string, std::string>& new_files() {
  static const std::map<std::string, std::string> files = [] {
    MemoryPlatform platform;
    prepare(platform, false, true);
    EXPECT_EQ(run_build(platform), 0);
    return by_name(platform.system.files());
  }();
  return files;
}

template <typename Bytes>
Version version_of(const std::map<std::string, Bytes>& files, const std::string& name) {
  return testing::version_of(files, name, new_files());
}

// The file whose replacement the n-th call of this kind is made for. An
// unnamed file takes the name of a target that does not exist yet without a
// rename: of the build's files, only the sources are new to the folder.
std::string file_of_call(Call call, int nth, bool unnamed_files) {
  const auto n = static_cast<size_t>(nth - 1);
  switch (call) {
    case Call::sync_folder:
      return kLastOfEachFolderSync.at(n);
    case Call::remove:
      return testing::kSourceFiles.at(n);
    case Call::rename:
      return unnamed_files ? testing::kKeptFiles.at(n) : testing::kBuildFiles.at(n);
    default:
      return testing::kBuildFiles.at(n);
  }
}

TEST(BuildUnderFaults, AFailingCallStopsTheBuildNamingTheFileWithEveryFileWhole) {
  for (const bool unnamed_files : {true, false}) {
    for (const Call call : MemoryFileSystem::kCalls) {
      MemoryPlatform counting;
      prepare(counting, true, unnamed_files);
      ASSERT_EQ(run_build(counting), 0);
      const int calls = counting.system.made(call);
      if (call == Call::sync_folder) {
        EXPECT_EQ(calls, 3);  // once a group, after its last rename
      }
      if (call != Call::link || unnamed_files) {
        EXPECT_GT(calls, 0) << MemoryFileSystem::name_of(call);
      }

      for (int nth = 1; nth <= calls; ++nth) {
        SCOPED_TRACE(std::string(unnamed_files ? "unnamed files, " : "named files, ") + "failing " +
                     MemoryFileSystem::name_of(call) + " #" + std::to_string(nth));
        MemoryPlatform platform;
        prepare(platform, true, unnamed_files);
        platform.system.fail(call, nth);
        const int status = run_build(platform);
        const auto files = by_name(platform.system.files());
        const std::string failed = file_of_call(call, nth, unnamed_files);

        if (call == Call::remove) {
          // A source that cannot be deleted after reading is a failure while
          // reading: recorded as build error 25, and the build goes on to
          // compile what it has read.
          EXPECT_EQ(testing::wrong_with(files, new_files(), true, kProgram, true), "");
          EXPECT_EQ(status, 2);
          EXPECT_TRUE(platform.reports.empty());
          for (const std::string& name : testing::kSourceFiles) {
            EXPECT_EQ(version_of(files, name), Version::missing) << name;
          }
          continue;
        }
        EXPECT_EQ(testing::wrong_with(files, new_files(), true, kProgram), "");
        if (call == Call::close && unnamed_files) {
          // An unnamed file is closed only once synced and in its place:
          // a failure to close it loses nothing.
          EXPECT_EQ(status, 0);
          for (const std::string& name : testing::kKeptFiles) {
            EXPECT_EQ(version_of(files, name), Version::fresh) << name;
          }
          continue;
        }
        EXPECT_EQ(status, 1);
        if (platform.reports.size() != 1) {
          ADD_FAILURE() << platform.reports.size() << " reports";
          continue;
        }
        EXPECT_EQ(platform.reports[0].rfind("cannot ", 0), 0u) << platform.reports[0];
        EXPECT_NE(platform.reports[0].find(path_of(failed) + ": "), std::string::npos) << platform.reports[0];
        // Only the folder's sync fails after its file has taken its place.
        EXPECT_EQ(version_of(files, failed) == Version::fresh, call == Call::sync_folder) << failed;
        // The compiled files go together: none takes its place before all
        // three are written, and then in their order.
        bool earlier_seen = false;
        for (const std::string& name : testing::kCompiledFiles) {
          const Version version = version_of(files, name);
          if (version == Version::fresh) {
            EXPECT_FALSE(earlier_seen) << name << " is new after an earlier compiled file";
            EXPECT_TRUE(call == Call::link || call == Call::rename || call == Call::sync_folder) << name;
          }
          earlier_seen = earlier_seen || version == Version::earlier;
        }
      }
    }
  }
}

TEST(BuildUnderFaults, APowerCutLeavesEveryFileWholeAndAfterSuccessAllNew) {
  for (const bool earlier_build : {true, false}) {
    for (const bool unnamed_files : {true, false}) {
      SCOPED_TRACE(std::string(earlier_build ? "over an earlier build, " : "in an empty folder, ") +
                   (unnamed_files ? "unnamed files" : "named files"));
      MemoryPlatform platform;
      prepare(platform, earlier_build, unnamed_files);
      MemoryFileSystem& system = platform.system;
      int moments = 0;
      std::string first_fault;
      // A power cut after any call, with any first part of the name changes
      // since the last sync on the disk.
      system.after_each_call = [&] {
        ++moments;
        for (size_t kept = 0; kept <= system.unsynced_name_changes() && first_fault.empty(); ++kept) {
          const std::string wrong =
              testing::wrong_with(by_name(system.after_power_cut(kept)), new_files(), earlier_build, kProgram);
          // A hidden name given just before a rename may reach the disk alone.
          if (!wrong.empty() && wrong.find(" is left behind") == std::string::npos) {
            first_fault = "cut after call " + std::to_string(moments) + ", " + std::to_string(kept) +
                          " unsynced name changes kept: " + wrong;
          }
        }
      };
      ASSERT_EQ(run_build(platform), 0);
      system.after_each_call = nullptr;
      EXPECT_EQ(first_fault, "");
      EXPECT_GT(moments, 40);

      // Once the build has said it succeeded, a power cut leaves the new files.
      for (size_t kept = 0; kept <= system.unsynced_name_changes(); ++kept) {
        const auto disk = by_name(system.after_power_cut(kept));
        for (const std::string& name : testing::kKeptFiles) EXPECT_EQ(version_of(disk, name), Version::fresh) << name;
        for (const std::string& name : testing::kSourceFiles) {
          EXPECT_EQ(version_of(disk, name), Version::missing) << name;
        }
      }
    }
  }
}

}  // namespace
}  // namespace scenario
