#include "app/build_driver.h"

#include <gtest/gtest.h>

#include "platform/native_file_store.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

// A platform that records what the driver asks of it instead of ending the process.
class RecordingPlatform : public Platform {
 public:
  struct Ended {
    int status;
  };

  explicit RecordingPlatform(std::string folder) : folder_(std::move(folder)) {}
  std::string start_folder() override { return folder_; }
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

 private:
  std::string folder_;
  NativeFileStore files_;
};

TEST(BuildDriver, FatalReportShowsTheNumberAndEndsTheProcess) {
  RecordingPlatform platform("/nonexistent");
  try {
    errore(platform, "1250");
    FAIL() << "errore returned";
  } catch (const RecordingPlatform::Ended& ended) {
    EXPECT_EQ(ended.status, 1);
  }
  EXPECT_EQ(platform.reports, std::vector<std::string>{" Errore n. 1250"});
}

TEST(BuildDriver, ShowsTheWaitingWindowOnceAndWritesIntoTheStartFolder) {
  testing::TempFolder folder;
  RecordingPlatform platform(folder.path().string());
  Form_Load(platform);
  EXPECT_EQ(platform.windows_shown, 1);
  EXPECT_TRUE(platform.reports.empty());
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "ValdorenaC_Morlavesa_4721_scheda_treno.txt"));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "ValdorenaC_Morlavesa_4721_note.txt"));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "ValdorenaC_Morlavesa_4721_rallentamenti.txt"));
}

}  // namespace
}  // namespace scenario
