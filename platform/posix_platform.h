#pragma once

// What every Linux backend shares: POSIX files, the executable's folder, "/"
// between folder and name, and the ending of the process.

#include "platform/posix_file_store.h"
#include "platform/services.h"

namespace scenario {

class PosixPlatform : public Platform {
 public:
  std::string start_folder() override;
  char path_separator() const override { return '/'; }
  FileStore& files() override { return files_; }
  std::unique_ptr<FolderHold> hold_start_folder() override;
  [[noreturn]] void end_process(int status) override;

 private:
  PosixFileStore files_;
};

}  // namespace scenario
