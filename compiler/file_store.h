#pragma once

// Whole-file access, as the compile operation and the build driver need it.
// The platform backends implement it with their operating system's calls;
// tests use one that keeps the files in memory.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario {

// A file operation that did not work: what was attempted, on which file.
class FileError : public std::runtime_error {
 public:
  FileError(std::string operation, std::string path, std::string reason)
      : std::runtime_error("cannot " + operation + " " + path + ": " + reason),
        operation_(std::move(operation)),
        path_(std::move(path)),
        reason_(std::move(reason)) {}
  const std::string& operation() const { return operation_; }
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string operation_;
  std::string path_;
  std::string reason_;
};

// One file's new contents, for replacing several files together.
struct NewFile {
  std::string path;
  std::string_view bytes;
};

// Whole-file access. Every file the build produces is written in one piece.
class FileStore {
 public:
  virtual ~FileStore() = default;

  // Makes `path` hold exactly `bytes`. The new contents are written and made
  // durable apart from the target and take its place only once complete, so a
  // failed write leaves the previous file as it was. Throws FileError naming
  // `path`.
  virtual void replace(const std::string& path, std::string_view bytes) = 0;

  // Makes every file hold its new bytes, as one step for files that belong
  // together (a plan, a table and cells from one compile). Every new file is
  // written complete and durable before the first takes its target's place;
  // the targets are then replaced in the order given. A failure before the
  // first replacement leaves every previous file as it was; a failure at the
  // k-th leaves the earlier ones new and the k-th and later ones as they
  // were. Throws FileError naming the file that failed.
  virtual void replace_together(std::span<const NewFile> files) = 0;

  // True when `path` names an existing normal file (not a folder, not a device).
  virtual bool is_regular_file(const std::string& path) = 0;

  // The whole file as bytes. Throws FileError.
  virtual std::string read(const std::string& path) = 0;

  // Deletes `path`; a file that is already gone is not an error. Throws FileError.
  virtual void remove(const std::string& path) = 0;
};

}  // namespace scenario
