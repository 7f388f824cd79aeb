#include "platform/replacing_file_store.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/temporary_name.h"

namespace scenario {
namespace {

using Code = CallStatus::Code;

// A name already taken gets another try with another name, this many times.
constexpr int kNameAttempts = 100;

// The folder that holds `path`, as a name the system can open.
std::string folder_of(const std::string& path, std::string_view separators) {
  const size_t end = path.find_last_of(separators);
  if (end == std::string::npos) return ".";
  return path.substr(0, end == 0 ? 1 : end);
}

// Gives up a new file that will not take its target's place: closed, and its
// hidden name, if it has one, deleted. The failure being reported is the one
// that counts; these calls can only tidy up.
void abandon(FileSystem& system, PendingFile& file) {
  if (file.handle != -1) system.close(file);
  if (!file.name.empty()) system.remove(file.name);
  file.name.clear();
}

[[noreturn]] void give_up(FileSystem& system, PendingFile& file, const char* operation, const std::string& target,
                          const CallStatus& status) {
  abandon(system, file);
  throw FileError(operation, target, status.reason);
}

template <typename Attempt>
CallStatus with_a_free_name(FileSystem& system, const std::string& target, Attempt attempt) {
  for (int tries = 0; tries < kNameAttempts; ++tries) {
    const CallStatus status = attempt(temporary_name_beside(target, system.separators()));
    if (status.code != Code::name_taken) return status;
  }
  return CallStatus::refused(Code::failed, "no free temporary name");
}

// Writes `file`'s bytes whole to a new file beside its target and syncs them.
// An unnamed file stays open, to be named when it takes its place; a named
// one is closed. Throws FileError naming the target, with nothing of the new
// file left behind.
void write_whole(FileSystem& system, const NewFile& file, bool may_be_unnamed, PendingFile& pending) {
  CallStatus status = may_be_unnamed ? system.create_unnamed(folder_of(file.path, system.separators()), pending)
                                     : CallStatus::refused(Code::not_supported, "");
  if (status.code == Code::not_supported) {
    status = with_a_free_name(system, file.path,
                              [&](const std::string& name) { return system.create_named(name, pending); });
  }
  if (!status.ok()) throw FileError("create a temporary file for", file.path, status.reason);
  if (status = system.write(pending, file.bytes); !status.ok()) give_up(system, pending, "write", file.path, status);
  if (status = system.sync(pending); !status.ok()) give_up(system, pending, "flush", file.path, status);
  if (!pending.name.empty()) {
    if (status = system.close(pending); !status.ok()) give_up(system, pending, "close", file.path, status);
  }
}

// Puts a written file in its target's place. An unnamed file where there is
// no target yet simply takes the target's name. Otherwise it is given a
// hidden name and renamed over the target at once: no call names a file over
// an existing one, and a build killed between the two calls leaves the
// hidden name behind. `operation` says what failed.
CallStatus put_in_place(FileSystem& system, const NewFile& file, PendingFile& pending, const char*& operation) {
  if (pending.name.empty()) {
    operation = "name the new contents of";
    CallStatus status = system.link(pending, file.path);
    if (status.code != Code::name_taken) return status;
    status = with_a_free_name(system, file.path, [&](const std::string& name) { return system.link(pending, name); });
    if (!status.ok()) return status;
  }
  operation = "replace";
  return system.rename(pending.name, file.path);
}

void replace_all(FileSystem& system, std::span<const NewFile> files, bool may_be_unnamed) {
  // The slow work first, every file written whole while none has a name;
  // then each takes its place in turn.
  std::vector<PendingFile> pending(files.size());
  const auto abandon_from = [&](size_t first) {
    for (size_t i = first; i < pending.size(); ++i) abandon(system, pending[i]);
  };
  try {
    for (size_t i = 0; i < files.size(); ++i) write_whole(system, files[i], may_be_unnamed, pending[i]);
  } catch (...) {
    abandon_from(0);
    throw;
  }

  for (size_t i = 0; i < files.size(); ++i) {
    const char* operation = "";
    const CallStatus placed = put_in_place(system, files[i], pending[i], operation);
    if (placed.code == Code::not_supported && i == 0) {
      // Unnamed files cannot be named here after all: all are written again
      // the old way, before any target is touched.
      abandon_from(0);
      replace_all(system, files, false);
      return;
    }
    if (!placed.ok()) {
      abandon_from(i);
      throw FileError(operation, files[i].path, placed.reason);
    }
    // Synced before it was named: closing has nothing left to report.
    if (pending[i].handle != -1) system.close(pending[i]);
  }

  // A name is on the disk only once its folder is: each folder once, after
  // the last of its files, which a failure then names.
  std::vector<std::pair<std::string, const std::string*>> folders;
  for (const NewFile& file : files) {
    std::string folder = folder_of(file.path, system.separators());
    const auto known = std::find_if(folders.begin(), folders.end(), [&](const auto& f) { return f.first == folder; });
    if (known == folders.end()) {
      folders.emplace_back(std::move(folder), &file.path);
    } else {
      known->second = &file.path;
    }
  }
  for (const auto& [folder, last_file] : folders) {
    const CallStatus synced = system.sync_folder(folder);
    if (!synced.ok()) throw FileError("flush the folder of", *last_file, synced.reason);
  }
}

}  // namespace

void ReplacingFileStore::replace(const std::string& path, std::string_view bytes) {
  const NewFile file{path, bytes};
  replace_all(system_, std::span(&file, 1), true);
}

void ReplacingFileStore::replace_together(std::span<const NewFile> files) { replace_all(system_, files, true); }

bool ReplacingFileStore::is_regular_file(const std::string& path) { return system_.is_regular_file(path); }

std::string ReplacingFileStore::read(const std::string& path) {
  std::string bytes;
  const CallStatus status = system_.read(path, bytes);
  if (!status.ok()) throw FileError("read", path, status.reason);
  return bytes;
}

void ReplacingFileStore::remove(const std::string& path) {
  const CallStatus status = system_.remove(path);
  if (!status.ok()) throw FileError("delete", path, status.reason);
}

}  // namespace scenario
