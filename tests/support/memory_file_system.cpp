#include "support/memory_file_system.h"

#include <algorithm>

namespace scenario::testing {
namespace {

using Code = CallStatus::Code;

std::string folder_of(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

CallStatus refused(Code code, const char* reason) { return CallStatus::refused(code, reason); }

}  // namespace

const char* MemoryFileSystem::name_of(Call call) {
  switch (call) {
    case Call::create:
      return "create";
    case Call::write:
      return "write";
    case Call::sync:
      return "sync";
    case Call::link:
      return "link";
    case Call::close:
      return "close";
    case Call::rename:
      return "rename";
    case Call::sync_folder:
      return "sync_folder";
    case Call::remove:
      return "remove";
  }
  return "?";
}

void MemoryFileSystem::put(const std::string& path, std::string bytes) {
  const int file = new_file();
  contents_[file] = {bytes, bytes};
  names_[path] = file;
  names_on_disk_[path] = file;
  if (!has_folder(folder_of(path))) folders_.push_back(folder_of(path));
}

std::map<std::string, std::string> MemoryFileSystem::files() const {
  std::map<std::string, std::string> shown;
  for (const auto& [path, file] : names_) shown[path] = contents_.at(file).bytes;
  return shown;
}

int MemoryFileSystem::made(Call call) const {
  const auto found = made_.find(call);
  return found == made_.end() ? 0 : found->second;
}

std::map<std::string, std::string_view> MemoryFileSystem::after_power_cut(size_t kept) const {
  Names names = names_on_disk_;
  for (size_t i = 0; i < kept && i < unsynced_.size(); ++i) {
    for (const auto& [path, file] : unsynced_[i].names) {
      if (file) {
        names[path] = *file;
      } else {
        names.erase(path);
      }
    }
  }
  std::map<std::string, std::string_view> left;
  for (const auto& [path, file] : names) left[path] = contents_.at(file).synced;
  return left;
}

bool MemoryFileSystem::fails_now(Call call) {
  const int n = ++made_[call];
  return failing_ && failing_->first == call && failing_->second == n;
}

bool MemoryFileSystem::has_folder(const std::string& folder) const {
  return std::find(folders_.begin(), folders_.end(), folder) != folders_.end();
}

int MemoryFileSystem::new_file() {
  const int file = contents_.empty() ? 1 : contents_.rbegin()->first + 1;
  contents_[file] = {};
  return file;
}

void MemoryFileSystem::change_names(NameChange change) {
  for (const auto& [path, file] : change.names) {
    if (file) {
      names_[path] = *file;
    } else {
      names_.erase(path);
    }
  }
  unsynced_.push_back(std::move(change));
}

CallStatus MemoryFileSystem::done() {
  if (after_each_call) after_each_call();
  return CallStatus::done();
}

CallStatus MemoryFileSystem::create_unnamed(const std::string& folder, PendingFile& file) {
  if (!unnamed_files_) return refused(Code::not_supported, "Operation not supported");
  if (fails_now(Call::create)) return refused(Code::failed, "Input/output error");
  if (!has_folder(folder)) return refused(Code::failed, "No such file or directory");
  file.handle = new_file();
  file.name.clear();
  return done();
}

CallStatus MemoryFileSystem::create_named(const std::string& name, PendingFile& file) {
  if (names_.count(name) != 0) return refused(Code::name_taken, "File exists");
  if (fails_now(Call::create)) return refused(Code::failed, "Input/output error");
  if (!has_folder(folder_of(name))) return refused(Code::failed, "No such file or directory");
  file.handle = new_file();
  file.name = name;
  change_names({folder_of(name), {{name, static_cast<int>(file.handle)}}});
  return done();
}

CallStatus MemoryFileSystem::write(PendingFile& file, std::string_view bytes) {
  std::string& contents = contents_.at(static_cast<int>(file.handle)).bytes;
  if (fails_now(Call::write)) {
    contents.append(bytes.substr(0, bytes.size() / 2));
    if (after_each_call) after_each_call();
    return refused(Code::failed, "No space left on device");
  }
  contents.append(bytes);
  return done();
}

CallStatus MemoryFileSystem::sync(PendingFile& file) {
  if (fails_now(Call::sync)) return refused(Code::failed, "Input/output error");
  File& contents = contents_.at(static_cast<int>(file.handle));
  contents.synced = contents.bytes;
  return done();
}

CallStatus MemoryFileSystem::link(PendingFile& file, const std::string& name) {
  if (names_.count(name) != 0) return refused(Code::name_taken, "File exists");
  if (fails_now(Call::link)) return refused(Code::failed, "Input/output error");
  file.name = name;
  change_names({folder_of(name), {{name, static_cast<int>(file.handle)}}});
  return done();
}

CallStatus MemoryFileSystem::close(PendingFile& file) {
  file.handle = -1;
  if (fails_now(Call::close)) return refused(Code::failed, "Input/output error");
  return done();
}

CallStatus MemoryFileSystem::rename(const std::string& from, const std::string& to) {
  if (fails_now(Call::rename)) return refused(Code::failed, "Input/output error");
  const auto found = names_.find(from);
  if (found == names_.end() || !has_folder(folder_of(to))) return refused(Code::failed, "No such file or directory");
  // Within one folder, as the build renames: one change, whole or not at all.
  change_names({folder_of(to), {{to, found->second}, {from, std::nullopt}}});
  return done();
}

CallStatus MemoryFileSystem::sync_folder(const std::string& folder) {
  if (fails_now(Call::sync_folder)) return refused(Code::failed, "Input/output error");
  std::vector<NameChange> still_unsynced;
  for (NameChange& change : unsynced_) {
    if (change.folder != folder) {
      still_unsynced.push_back(std::move(change));
      continue;
    }
    for (const auto& [path, file] : change.names) {
      if (file) {
        names_on_disk_[path] = *file;
      } else {
        names_on_disk_.erase(path);
      }
    }
  }
  unsynced_ = std::move(still_unsynced);
  return done();
}

CallStatus MemoryFileSystem::remove(const std::string& path) {
  if (fails_now(Call::remove)) return refused(Code::failed, "Input/output error");
  if (names_.count(path) == 0) return CallStatus::done();
  change_names({folder_of(path), {{path, std::nullopt}}});
  return done();
}

CallStatus MemoryFileSystem::read(const std::string& path, std::string& bytes) {
  const auto found = names_.find(path);
  if (found == names_.end()) return refused(Code::failed, "No such file or directory");
  bytes = contents_.at(found->second).bytes;
  return CallStatus::done();
}

bool MemoryFileSystem::is_regular_file(const std::string& path) { return names_.count(path) != 0; }

}  // namespace scenario::testing
