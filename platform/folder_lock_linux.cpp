#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/folder_lock.h"

namespace scenario {

FolderLock::FolderLock(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw FileError("lock the folder", folder, std::strerror(errno));
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const std::string why = std::strerror(errno);
    ::close(fd);
    throw FileError("lock the folder", folder, why);
  }
  handle_ = fd;
}

// Closing the folder gives the lock up.
FolderLock::~FolderLock() { ::close(static_cast<int>(handle_)); }

}  // namespace scenario
