#pragma once

// The file system calls on Windows. Paths are UTF-8.
//
// Windows has no unnamed files: a new file has its hidden name beside the
// target from the moment it is created, so a build killed while it writes
// one (or a power cut before the system has written its name down) can leave
// a `.tmp-NNNNNNNNN` file beside the scenario; the target itself is never
// half written. Moves are written through to the disk before they return, so
// a replaced file stays replaced when the power goes.

#include "platform/file_system.h"

namespace scenario {

class WindowsFileSystem : public FileSystem {
 public:
  std::string_view separators() const override { return "\\/"; }
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
