#pragma once

// Whole-file access, as the compile operation and the build driver need it.
// The platform backends implement it with their operating system's calls;
// tests use one that keeps the files in memory.

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

// Whole-file access. Every file the build produces is written in one piece.
class FileStore {
 public:
  virtual ~FileStore() = default;

  // Makes `path` hold exactly `bytes`. The new contents go to a temporary file
  // beside it that replaces the old one only once complete, so a failed write
  // leaves the previous file as it was. Throws FileError.
  virtual void replace(const std::string& path, std::string_view bytes) = 0;

  // True when `path` names an existing normal file (not a folder, not a device).
  virtual bool is_regular_file(const std::string& path) = 0;

  // The whole file as bytes. Throws FileError.
  virtual std::string read(const std::string& path) = 0;

  // Deletes `path`; a file that is already gone is not an error. Throws FileError.
  virtual void remove(const std::string& path) = 0;
};

}  // namespace scenario
