#pragma once

// The file system calls on Linux: new files unnamed (O_TMPFILE) where the file
// system allows it, named later through /proc/self/fd or AT_EMPTY_PATH.

#include "platform/file_system.h"

namespace scenario {

class PosixFileSystem : public FileSystem {
 public:
  // A file-size limit (ulimit -f) then ends a write with EFBIG, reported like
  // a full disk, instead of killing the process with SIGXFSZ half-way through.
  PosixFileSystem();

  std::string_view separators() const override { return "/"; }
  CallStatus create_unnamed(const std::string& folder, PendingFile& file) override;
  CallStatus create_named(const std::string& name, PendingFile& file) override;
  CallStatus write(PendingFile& file, std::string_view bytes) override;
  CallStatus sync(PendingFile& file) override;
  CallStatus link(PendingFile& file, const std::string& name) override;
  CallStatus close(PendingFile& file) override;
  CallStatus rename(const std::string& from, const std::string& to) override;
  CallStatus sync_folder(const std::string& folder) override;
  CallStatus remove(const std::string& path) override;
  CallStatus read(const std::string& path, std::string& bytes) override;
  bool is_regular_file(const std::string& path) override;
};

}  // namespace scenario
