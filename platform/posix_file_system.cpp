#include "platform/posix_file_system.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace scenario {
namespace {

using Code = CallStatus::Code;

// The refusal the last call reported in errno.
CallStatus refusal(Code code = Code::failed) { return CallStatus::refused(code, std::strerror(errno)); }

int descriptor(const PendingFile& file) { return static_cast<int>(file.handle); }

}  // namespace

PosixFileSystem::PosixFileSystem() { ::signal(SIGXFSZ, SIG_IGN); }

CallStatus PosixFileSystem::create_unnamed(const std::string& folder, PendingFile& file) {
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    // How file systems without unnamed files refuse them; a kernel older than
    // the flag sees a folder opened for writing.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return refusal(Code::not_supported);
    return refusal();
  }
  file.handle = fd;
  file.name.clear();
  return CallStatus::done();
}

CallStatus PosixFileSystem::create_named(const std::string& name, PendingFile& file) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return refusal(errno == EEXIST ? Code::name_taken : Code::failed);
  file.handle = fd;
  file.name = name;
  return CallStatus::done();
}

CallStatus PosixFileSystem::write(PendingFile& file, std::string_view bytes) {
  const char* data = bytes.data();
  size_t size = bytes.size();
  while (size > 0) {
    const ssize_t written = ::write(descriptor(file), data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return refusal();
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return CallStatus::done();
}

CallStatus PosixFileSystem::sync(PendingFile& file) {
  return ::fsync(descriptor(file)) == 0 ? CallStatus::done() : refusal();
}

CallStatus PosixFileSystem::link(PendingFile& file, const std::string& name) {
  // Through the file's entry in /proc, as any user may; where /proc is not
  // mounted, through the descriptor itself, which needs a privilege.
  const std::string entry = "/proc/self/fd/" + std::to_string(descriptor(file));
  int linked = ::linkat(AT_FDCWD, entry.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
  if (linked != 0 && errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
    linked = ::linkat(descriptor(file), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
    if (linked != 0 && (errno == ENOENT || errno == EPERM)) return refusal(Code::not_supported);
  }
  if (linked != 0) return refusal(errno == EEXIST ? Code::name_taken : Code::failed);
  file.name = name;
  return CallStatus::done();
}

CallStatus PosixFileSystem::close(PendingFile& file) {
  const int fd = descriptor(file);
  file.handle = -1;
  return ::close(fd) == 0 ? CallStatus::done() : refusal();
}

CallStatus PosixFileSystem::rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? CallStatus::done() : refusal();
}

CallStatus PosixFileSystem::sync_folder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return refusal();
  // EINVAL: a file system that keeps no folders on a disk of its own.
  const CallStatus status = ::fsync(fd) == 0 || errno == EINVAL ? CallStatus::done() : refusal();
  ::close(fd);
  return status;
}

CallStatus PosixFileSystem::remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT ? CallStatus::done() : refusal();
}

CallStatus PosixFileSystem::read(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return refusal();
  bytes.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      const CallStatus status = refusal();
      ::close(fd);
      return status;
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  return CallStatus::done();
}

bool PosixFileSystem::is_regular_file(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace scenario
