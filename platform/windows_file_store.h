#pragma once

// Whole-file access on Windows, with replace-by-rename. Paths are UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

#include "compiler/file_store.h"

namespace scenario {

class WindowsFileStore : public FileStore {
 public:
  void replace(const std::string& path, std::string_view bytes) override;
  bool is_regular_file(const std::string& path) override;
  std::string read(const std::string& path) override;
  void remove(const std::string& path) override;

 protected:
  // Writes all of `data` to the open file (a HANDLE); false, with the thread's
  // last error set, when the system refuses. Overridden by tests to simulate a
  // full disk.
  virtual bool write_all(void* file, const char* data, size_t size);
};

}  // namespace scenario
