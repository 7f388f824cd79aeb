#include "platform/posix_platform.h"

#include <cstdio>
#include <cstdlib>

#include "platform/folder_lock.h"
#include "platform/start_folder.h"

namespace scenario {

std::string PosixPlatform::start_folder() { return executable_folder(); }

std::unique_ptr<FolderHold> PosixPlatform::hold_start_folder() { return std::make_unique<FolderLock>(start_folder()); }

void PosixPlatform::end_process(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace scenario
