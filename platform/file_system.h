#pragma once

// The few calls on a file system that every file the build writes is made of.
// The replace protocol (replacing_file_store.h) is written once over them;
// each operating system implements them with its own calls, and the tests
// with files in memory that fail or lose power where a test says.

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// What one call did: nothing to say when it worked, otherwise the kind of
// refusal and the system's own words for it.
struct CallStatus {
  enum class Code {
    ok,
    name_taken,     // the name asked for already exists
    not_supported,  // this file system cannot do it; another way may work
    failed,
  };
  Code code = Code::ok;
  std::string reason;

  bool ok() const { return code == Code::ok; }
  static CallStatus done() { return {}; }
  static CallStatus refused(Code code, std::string reason) { return {code, std::move(reason)}; }
};

// A new file being written for a target, open for writing. It has no name
// until it is complete where the system allows it, so that a build that dies
// leaves nothing; elsewhere it has a fresh hidden name beside the target.
struct PendingFile {
  std::intptr_t handle = -1;  // the open file, as the system calls it; -1 once closed
  std::string name;           // empty while the file has no name
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The characters that end a folder name in a path.
  virtual std::string_view separators() const = 0;

  // A new, empty file in `folder` that has no name; not_supported where the
  // file system cannot make one.
  virtual CallStatus create_unnamed(const std::string& folder, PendingFile& file) = 0;
  // A new, empty file called `name`; name_taken when anything (a link
  // included, never followed) already has that name.
  virtual CallStatus create_named(const std::string& name, PendingFile& file) = 0;
  // Appends all of `bytes` to the file.
  virtual CallStatus write(PendingFile& file, std::string_view bytes) = 0;
  // Returns once the file's contents are on the disk.
  virtual CallStatus sync(PendingFile& file) = 0;
  // Gives an unnamed file the name `name`; name_taken when it exists,
  // not_supported where an unnamed file cannot be given a name after all.
  virtual CallStatus link(PendingFile& file, const std::string& name) = 0;
  // Closes the file, named or not; an unnamed file closed is gone. The
  // handle is given up even when the call reports a failure.
  virtual CallStatus close(PendingFile& file) = 0;
  // Gives the file `from` the name `to` in one step, replacing whatever `to`
  // named: a reader sees the old file or the new one, never neither.
  virtual CallStatus rename(const std::string& from, const std::string& to) = 0;
  // Returns once the names given and taken in `folder` are on the disk.
  virtual CallStatus sync_folder(const std::string& folder) = 0;
  // Deletes the name `path`; a name already gone is not a failure.
  virtual CallStatus remove(const std::string& path) = 0;

  // The whole file `path`.
  virtual CallStatus read(const std::string& path, std::string& bytes) = 0;
  // True when `path` names an existing normal file (not a folder, not a device).
  virtual bool is_regular_file(const std::string& path) = 0;
};

}  // namespace scenario
