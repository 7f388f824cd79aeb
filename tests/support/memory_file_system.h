#pragma once

// Files in memory behind the file system calls, for running the replace
// protocol, and whole builds, through faults no real disk gives on demand: a
// call that fails the n-th time it is made, and a power cut at any moment.
//
// It keeps apart what the system shows and what the disk holds, as a
// journalling file system does: a file's bytes are on the disk only once the
// file is synced, and a name given or taken only once its folder is synced.
// Name changes reach the disk in the order they were made, so a power cut
// keeps the synced state and some first part of the changes made since.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace scenario::testing {

class MemoryFileSystem : public FileSystem {
 public:
  // The calls that can be made to fail.
  enum class Call { create, write, sync, link, close, rename, sync_folder, remove };
  static constexpr Call kCalls[] = {Call::create, Call::write,  Call::sync,        Call::link,
                                    Call::close,  Call::rename, Call::sync_folder, Call::remove};
  static const char* name_of(Call call);

  // A file that an earlier, finished run left: on the disk, its folder made.
  void put(const std::string& path, std::string bytes);
  // What the system shows now: path -> bytes.
  std::map<std::string, std::string> files() const;

  // The n-th call of this kind (from 1) fails; a failed write leaves half
  // of its bytes written.
  void fail(Call call, int nth) { failing_ = {call, nth}; }
  // How many calls of this kind were made.
  int made(Call call) const;
  // A file system without unnamed files.
  void refuse_unnamed_files() { unnamed_files_ = false; }

  // Runs after every call that can change what the system shows.
  std::function<void()> after_each_call;
  // Name changes made since their folder was last synced.
  size_t unsynced_name_changes() const { return unsynced_.size(); }
  // The files a power cut now would leave: path -> bytes, with the first
  // `kept` unsynced name changes on the disk after all. Valid until the next call.
  std::map<std::string, std::string_view> after_power_cut(size_t kept) const;

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

 private:
  struct File {
    std::string bytes;
    std::string synced;  // what the disk holds
  };
  using Names = std::map<std::string, int>;  // path -> file
  // Names given (a file) or taken (none) in one folder by one call.
  struct NameChange {
    std::string folder;
    std::vector<std::pair<std::string, std::optional<int>>> names;
  };

  // Counts the call; true when the test has it fail this time.
  bool fails_now(Call call);
  bool has_folder(const std::string& folder) const;
  int new_file();
  void change_names(NameChange change);
  CallStatus done();

  std::map<int, File> contents_;
  Names names_;          // what the system shows
  Names names_on_disk_;  // what the disk holds
  std::vector<NameChange> unsynced_;
  std::vector<std::string> folders_;
  std::map<Call, int> made_;
  std::optional<std::pair<Call, int>> failing_;
  bool unnamed_files_ = true;
};

}  // namespace scenario::testing
