// The same guarantees from the file store of every system: whole files,
// replaced only once the new contents are complete.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "platform/native_file_store.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace scenario {
namespace {

namespace fs = std::filesystem;
using Code = CallStatus::Code;

// Writes half of what it is given, then reports a full disk.
class FullDisk : public NativeFileSystem {
 public:
  CallStatus write(PendingFile& file, std::string_view bytes) override {
    NativeFileSystem::write(file, bytes.substr(0, bytes.size() / 2));
    return CallStatus::refused(Code::failed, "No space left on device");
  }
};

// The system's calls, less the unnamed files where a test says so.
class WithoutUnnamedFiles : public NativeFileSystem {
 public:
  enum class Refuse { nothing, creating_unnamed, naming_unnamed };
  explicit WithoutUnnamedFiles(Refuse refuse) : refuse_(refuse) {}
  CallStatus create_unnamed(const std::string& folder, PendingFile& file) override {
    if (refuse_ == Refuse::creating_unnamed) return CallStatus::refused(Code::not_supported, "Operation not supported");
    return NativeFileSystem::create_unnamed(folder, file);
  }
  CallStatus link(PendingFile& file, const std::string& name) override {
    if (refuse_ == Refuse::naming_unnamed) return CallStatus::refused(Code::not_supported, "No such file or directory");
    return NativeFileSystem::link(file, name);
  }

 private:
  Refuse refuse_;
};

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

  FullDisk system;
  ReplacingFileStore files(system);
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

// Where the file system has no unnamed files, or cannot name one after all,
// the new file is written under a hidden name instead, to the same end.
TEST(FileStore, EveryWayOfWritingTheNewFileEndsAlike) {
  using Refuse = WithoutUnnamedFiles::Refuse;
  for (const Refuse refuse : {Refuse::nothing, Refuse::creating_unnamed, Refuse::naming_unnamed}) {
    SCOPED_TRACE(static_cast<int>(refuse));
    testing::TempFolder folder;
    testing::write_file(folder.path() / "table.sim", "previous table");
    WithoutUnnamedFiles system(refuse);
    ReplacingFileStore files(system);
    const std::string bytes = std::string(100'000, 'c') + "end";

    files.replace_together(std::vector<NewFile>{{folder.file("cells.dat"), bytes}, {folder.file("table.sim"), "t"}});
    EXPECT_EQ(testing::read_file(folder.path() / "cells.dat"), bytes);
    EXPECT_EQ(testing::read_file(folder.path() / "table.sim"), "t");
    EXPECT_EQ(files_in(folder.path()), 2u);  // no temporary left behind
#ifndef _WIN32
    // Readable as any file the user makes: 0666 less the user's mask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(folder.file("cells.dat").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
#endif
  }
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

// Watches the folder while the new contents are written.
class FolderWatchingSystem : public NativeFileSystem {
 public:
  explicit FolderWatchingSystem(fs::path folder) : folder_(std::move(folder)) {}
  CallStatus write(PendingFile& file, std::string_view bytes) override {
    for (const auto& entry : fs::directory_iterator(folder_)) names_while_writing.insert(entry.path().filename());
    return NativeFileSystem::write(file, bytes);
  }
  std::set<fs::path> names_while_writing;

 private:
  fs::path folder_;
};

TEST(FileStore, TheNewContentsHaveNoNameUntilComplete) {
  testing::TempFolder folder;
  testing::write_file(folder.path() / "cells.dat", "previous build");
  FolderWatchingSystem system(folder.path());
  ReplacingFileStore files(system);
  files.replace(folder.file("cells.dat"), "new build");
  // A build killed while writing leaves nothing behind.
  EXPECT_EQ(system.names_while_writing, std::set<fs::path>{"cells.dat"});
  EXPECT_EQ(testing::read_file(folder.path() / "cells.dat"), "new build");
}

// Lowers the limit on the size of the files this process writes (ulimit -f)
// for as long as it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST(FileStore, AFileSizeLimitIsAFailedWriteNotTheEndOfTheProgram) {
  testing::TempFolder folder;
  const std::string path = folder.file("linea.dat");
  testing::write_file(path, "previous plan");
  NativeFileStore files;
  std::string reason;
  {
    const FileSizeLimit limit(4096);
    try {
      files.replace(path, std::string(10'000, 'p'));
    } catch (const FileError& e) {
      EXPECT_EQ(e.operation(), "write");
      EXPECT_EQ(e.path(), path);
      reason = e.reason();
    }
  }
  EXPECT_EQ(reason, std::strerror(EFBIG));
  EXPECT_EQ(testing::read_file(path), "previous plan");
  EXPECT_EQ(files_in(folder.path()), 1u);
}

TEST(FileStore, DevicesAreNotFiles) {
  NativeFileStore files;
  EXPECT_FALSE(files.is_regular_file("/dev/null"));
}
#endif

}  // namespace
}  // namespace scenario
