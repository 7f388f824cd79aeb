#include "app/build_driver.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/memory_file_store.h"

namespace scenario {
namespace {

// A platform that keeps its files in memory and records what the driver asks
// of it instead of ending the process.
class RecordingPlatform : public Platform {
 public:
  struct Ended {
    int status;
  };

  std::string start_folder() override { return "/start"; }
  char path_separator() const override { return '/'; }
  FileStore& files() override { return files_; }
  std::unique_ptr<FolderHold> hold_start_folder() override { return std::make_unique<FolderHold>(); }
  void show_waiting_window() override { ++windows_shown; }
  int show_fatal_report(const std::string& message) override {
    reports.push_back(message);
    return 1;
  }
  [[noreturn]] void end_process(int status) override { throw Ended{status}; }

  int windows_shown = 0;
  std::vector<std::string> reports;
  testing::MemoryFileStore files_;
};

TEST(BuildDriver, FatalReportShowsTheNumberAndEndsTheProcess) {
  RecordingPlatform platform;
  try {
    report_fatal_error(platform, "1250");
    FAIL() << "report_fatal_error returned";
  } catch (const RecordingPlatform::Ended& ended) {
    EXPECT_EQ(ended.status, 1);
  }
  EXPECT_EQ(platform.reports, std::vector<std::string>{" Errore n. 1250"});
}

TEST(BuildDriver, WritesTheDocumentsAndCompiledFilesIntoTheStartFolderAndDeletesTheSources) {
  RecordingPlatform platform;
  EXPECT_EQ(run_build(platform), 0);
  EXPECT_EQ(platform.windows_shown, 1);
  EXPECT_TRUE(platform.reports.empty());
  EXPECT_EQ(platform.files_.names(), (std::set<std::string>{
                                         "/start/ValdorenaC_Morlavesa_4721.dat",
                                         "/start/ValdorenaC_Morlavesa_4721.sim",
                                         "/start/ValdorenaC_Morlavesa_4721_note.txt",
                                         "/start/ValdorenaC_Morlavesa_4721_rallentamenti.txt",
                                         "/start/ValdorenaC_Morlavesa_4721_scheda_treno.txt",
                                         "/start/ValdorenaC_Morlavesa_linea.dat",
                                     }));
}

TEST(BuildDriver, AFileThatCannotBeWrittenStopsTheRunWithItsName) {
  // The line source is written first: it is the one that fails.
  class ReadOnlyStore : public testing::MemoryFileStore {
   public:
    void replace(const std::string& path, std::string_view) override {
      throw FileError("write", path, "read-only file system");
    }
  };
  class ReadOnlyPlatform : public RecordingPlatform {
   public:
    FileStore& files() override { return store_; }
    ReadOnlyStore store_;
  };
  ReadOnlyPlatform platform;
  EXPECT_EQ(run_build(platform), 1);
  ASSERT_EQ(platform.reports.size(), 1u);
  EXPECT_EQ(platform.reports[0], "cannot write /start/ValdorenaC_Morlavesa_linea.txt: read-only file system");
  EXPECT_TRUE(platform.store_.files.empty());
}

}  // namespace
}  // namespace scenario
