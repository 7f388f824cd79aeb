// The same guarantees from the file store of every system: whole files,
// replaced only once the new contents are complete.

#include <gtest/gtest.h>

#include "platform/native_file_store.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace scenario {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// Writes half of what it is given, then reports a full disk.
class FullDiskStore : public WindowsFileStore {
 protected:
  bool write_all(void* file, const char* data, size_t size) override {
    WindowsFileStore::write_all(file, data, size / 2);
    SetLastError(ERROR_DISK_FULL);
    return false;
  }
};
#else
class FullDiskStore : public PosixFileStore {
 protected:
  bool write_all(int fd, const char* data, size_t size) override {
    PosixFileStore::write_all(fd, data, size / 2);
    errno = ENOSPC;
    return false;
  }
};
#endif

size_t files_in(const fs::path& folder) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(FileStore, ReplaceCreatesOrReplacesWithExactlyTheNewBytes) {
  testing::TempFolder folder;
  NativeFileStore files;
  const std::string path = folder.file("cells.dat");

  files.replace(path, "first contents, rather long");
  files.replace(path, "short");
  EXPECT_EQ(testing::read_file(path), "short");
  files.replace(path, std::string("\r\n\0\xff", 4));  // bytes, not text: no line ends added
  EXPECT_EQ(testing::read_file(path), std::string("\r\n\0\xff", 4));
  EXPECT_EQ(files_in(folder.path()), 1u);  // no temporary left behind
}

TEST(FileStore, FailedWriteLeavesThePreviousFile) {
  testing::TempFolder folder;
  const std::string path = folder.file("cells.dat");
  testing::write_file(path, "previous build");

  FullDiskStore files;
  try {
    files.replace(path, "a new build that never completes");
    FAIL() << "the write should have failed";
  } catch (const FileError& e) {
    EXPECT_EQ(e.operation(), "write");
    EXPECT_EQ(e.path(), path);
    EXPECT_FALSE(e.reason().empty());
  }
  EXPECT_EQ(testing::read_file(path), "previous build");
  EXPECT_EQ(files_in(folder.path()), 1u);
}

TEST(FileStore, ReplaceIntoAMissingFolderFailsWithTheFolderUntouched) {
  testing::TempFolder folder;
  NativeFileStore files;
  EXPECT_THROW(files.replace(folder.file("no such folder") + "/cells.dat", "x"), FileError);
  EXPECT_EQ(files_in(folder.path()), 0u);
}

TEST(FileStore, ExistenceReadAndRemove) {
  testing::TempFolder folder;
  NativeFileStore files;
  const std::string path = folder.file("linea.txt");
  EXPECT_FALSE(files.is_regular_file(path));
  EXPECT_FALSE(files.is_regular_file(folder.path().string()));  // a folder is not a normal file
  EXPECT_THROW(files.read(path), FileError);

  testing::write_file(path, "[generale]\r\n");
  EXPECT_TRUE(files.is_regular_file(path));
  EXPECT_EQ(files.read(path), "[generale]\r\n");
  files.remove(path);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_NO_THROW(files.remove(path));  // already gone
}

#ifdef _WIN32
TEST(FileStore, DeviceNamesAreNotFiles) {
  testing::TempFolder folder;
  NativeFileStore files;
  EXPECT_FALSE(files.is_regular_file(folder.file("NUL")));
  EXPECT_FALSE(files.is_regular_file(folder.file("CON")));
}
#else
TEST(FileStore, ReplaceDoesNotFollowALinkPlantedAtTheTarget) {
  testing::TempFolder folder;
  const fs::path victim = folder.path() / "victim.txt";
  testing::write_file(victim, "keep me");
  fs::create_symlink(victim, folder.path() / "cells.dat");

  NativeFileStore files;
  files.replace(folder.file("cells.dat"), "new");
  EXPECT_EQ(testing::read_file(victim), "keep me");
  EXPECT_FALSE(fs::is_symlink(folder.path() / "cells.dat"));
  EXPECT_EQ(testing::read_file(folder.path() / "cells.dat"), "new");
}

TEST(FileStore, DevicesAreNotFiles) {
  NativeFileStore files;
  EXPECT_FALSE(files.is_regular_file("/dev/null"));
}
#endif

}  // namespace
}  // namespace scenario
