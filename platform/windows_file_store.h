#pragma once

// Whole-file access on Windows: the replace protocol over the system's calls.

#include "platform/replacing_file_store.h"
#include "platform/windows_file_system.h"

namespace scenario {

class WindowsFileStore : public ReplacingFileStore {
 public:
  WindowsFileStore() : ReplacingFileStore(system_) {}

 private:
  WindowsFileSystem system_;
};

}  // namespace scenario
