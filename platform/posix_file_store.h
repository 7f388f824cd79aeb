#pragma once

// Whole-file access on Linux: the replace protocol over the system's calls.

#include "platform/posix_file_system.h"
#include "platform/replacing_file_store.h"

namespace scenario {

class PosixFileStore : public ReplacingFileStore {
 public:
  PosixFileStore() : ReplacingFileStore(system_) {}

 private:
  PosixFileSystem system_;
};

}  // namespace scenario
