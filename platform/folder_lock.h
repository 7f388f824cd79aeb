#pragma once

// One build at a time in a folder. The lock is the system's own, so it goes
// with the process however the process ends (a crash, a kill, the power) and
// never blocks the next build, and it puts nothing into the user's folder.

#include <cstdint>
#include <string>

#include "platform/services.h"

namespace scenario {

class FolderLock : public FolderHold {
 public:
  // Waits while another build holds `folder`, then holds it until destroyed.
  // Linux locks the folder itself. Windows cannot lock a folder: it locks the
  // running program's own file instead, which stands in the only folder the
  // Windows program builds in, so `folder` must be that one. Throws FileError.
  explicit FolderLock(const std::string& folder);
  ~FolderLock() override;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  std::intptr_t handle_ = -1;  // the open folder or file that carries the lock
};

}  // namespace scenario
