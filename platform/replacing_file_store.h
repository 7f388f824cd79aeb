#pragma once

// The replace protocol, written once over the calls of a file system: every
// file the programs write, on every system, and in the fault tests.

#include <span>
#include <string>
#include <string_view>

#include "compiler/file_store.h"
#include "platform/file_system.h"

namespace scenario {

// Each new file is written whole to a file of its own in its target's folder,
// unnamed where the system allows it and otherwise under a fresh hidden name,
// and synced to the disk. Only when every file of the call is written does
// each take its place in turn: an unnamed file where there is no target yet
// simply takes the target's name; otherwise it is given a hidden name and
// renamed over the target at once. Last, each folder is synced, so that the
// new names survive a power cut. A build that dies leaves every target whole,
// earlier or new; the one thing it can leave besides is a complete new file
// under its hidden name, when it dies between naming and renaming (a few
// microseconds on Linux; on Windows, whose files always have names, from
// creation to rename).
class ReplacingFileStore : public FileStore {
 public:
  // `system` must outlive the store.
  explicit ReplacingFileStore(FileSystem& system) : system_(system) {}

  void replace(const std::string& path, std::string_view bytes) override;
  void replace_together(std::span<const NewFile> files) override;
  bool is_regular_file(const std::string& path) override;
  std::string read(const std::string& path) override;
  void remove(const std::string& path) override;

 private:
  FileSystem& system_;
};

}  // namespace scenario
