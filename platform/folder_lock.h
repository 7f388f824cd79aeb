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
  // Linux locks the folder itself. Windows cannot lock a folder: it holds a
  // named mutex whose name comes from the folder's full path, so that every
  // spelling of the folder meets the same lock; the thread that took it gives
  // it up. Throws FileError.
  explicit FolderLock(const std::string& folder);
  ~FolderLock() override;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  std::intptr_t handle_ = -1;  // the open folder or the mutex that carries the lock
};

}  // namespace scenario
