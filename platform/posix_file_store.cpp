#include "platform/posix_file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/temporary_name.h"

namespace scenario {
namespace {

std::string reason() { return std::strerror(errno); }

}  // namespace

bool PosixFileStore::write_all(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

void PosixFileStore::replace(const std::string& path, std::string_view bytes) {
  std::string temporary;
  int fd = -1;
  // Created exclusively and never through a link: a name already taken gets another try.
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = temporary_name_beside(path, "/");
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) throw FileError("create a temporary file for", path, reason());
  }
  if (fd < 0) throw FileError("create a temporary file for", path, "no free temporary name");

  const auto fail = [&](const char* operation) {
    const std::string why = reason();
    ::close(fd);
    ::unlink(temporary.c_str());
    throw FileError(operation, path, why);
  };
  if (!write_all(fd, bytes.data(), bytes.size())) fail("write");
  if (::fsync(fd) != 0) fail("flush");
  if (::close(fd) != 0) {
    const std::string why = reason();
    ::unlink(temporary.c_str());
    throw FileError("close", path, why);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string why = reason();
    ::unlink(temporary.c_str());
    throw FileError("replace", path, why);
  }
}

bool PosixFileStore::is_regular_file(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string PosixFileStore::read(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError("open", path, reason());
  std::string bytes;
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      const std::string why = reason();
      ::close(fd);
      throw FileError("read", path, why);
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  return bytes;
}

void PosixFileStore::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw FileError("delete", path, reason());
}

}  // namespace scenario
