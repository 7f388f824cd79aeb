#pragma once

// Files held in memory, for tests of what the build reads, writes and
// deletes. Paths are plain keys; a path can be made to refuse reading or
// deleting, as a locked or vanished file would.

#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "compiler/file_store.h"

namespace scenario::testing {

class MemoryFileStore : public FileStore {
 public:
  void replace(const std::string& path, std::string_view bytes) override { files[path] = std::string(bytes); }
  void replace_together(std::span<const NewFile> new_files) override {
    for (const NewFile& file : new_files) replace(file.path, file.bytes);
  }
  bool is_regular_file(const std::string& path) override { return files.contains(path); }
  std::string read(const std::string& path) override {
    if (unreadable.contains(path)) throw FileError("read", path, "permission denied");
    const auto found = files.find(path);
    if (found == files.end()) throw FileError("read", path, "no such file");
    return found->second;
  }
  void remove(const std::string& path) override {
    if (undeletable.contains(path)) throw FileError("delete", path, "permission denied");
    files.erase(path);
  }

  // The names of the files, in order.
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& [path, bytes] : files) out.insert(path);
    return out;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;
  std::set<std::string> undeletable;
};

}  // namespace scenario::testing
