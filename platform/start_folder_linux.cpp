#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/services.h"
#include "platform/start_folder.h"

namespace scenario {

std::string executable_path() {
  std::string target(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
  if (length <= 0 || static_cast<size_t>(length) >= target.size()) {
    throw FileError("locate", "/proc/self/exe", length <= 0 ? std::strerror(errno) : "path too long");
  }
  target.resize(static_cast<size_t>(length));
  return target;
}

std::string executable_folder() {
  const std::string path = executable_path();
  const size_t slash = path.find_last_of('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace scenario
