#pragma once

// The backend for machines without a desktop: the waiting window and the fatal
// report become lines on standard error.

#include <memory>

#include "platform/posix_file_store.h"
#include "platform/services.h"

namespace scenario {

class HeadlessPlatform : public Platform {
 public:
  std::string start_folder() override;
  char path_separator() const override { return '/'; }
  FileStore& files() override { return files_; }
  void show_waiting_window() override;
  int show_fatal_report(const std::string& message) override;
  [[noreturn]] void end_process(int status) override;

 private:
  PosixFileStore files_;
};

// The backend this machine supports best.
std::unique_ptr<Platform> make_platform();

}  // namespace scenario
