#pragma once

// Whole-file access on a POSIX system, with replace-by-rename.

#include <cstddef>
#include <string>
#include <string_view>

#include "compiler/file_store.h"

namespace scenario {

class PosixFileStore : public FileStore {
 public:
  void replace(const std::string& path, std::string_view bytes) override;
  bool is_regular_file(const std::string& path) override;
  std::string read(const std::string& path) override;
  void remove(const std::string& path) override;

 protected:
  // Writes all of `data` to the open file; false (with errno set) when the
  // system refuses. Overridden by tests to simulate a full disk.
  virtual bool write_all(int fd, const char* data, size_t size);
};

}  // namespace scenario
