#include <windows.h>

#include "platform/folder_lock.h"
#include "platform/start_folder.h"
#include "platform/windows_text.h"

namespace scenario {
namespace {

// One byte far beyond the end of the program's file: holding it keeps the
// program itself readable for the system that starts a second copy.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

OVERLAPPED lock_range() {
  OVERLAPPED range{};
  range.OffsetHigh = kLockOffsetHigh;
  return range;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
  if (folder != executable_folder()) {
    throw FileError("lock the folder", folder, "only the folder that holds the running program can be locked");
  }
  const std::string program = executable_path();
  const HANDLE file =
      CreateFileW(utf8_to_wide(program).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw FileError("lock the folder", folder, system_error_text(GetLastError()));
  OVERLAPPED range = lock_range();
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &range)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    throw FileError("lock the folder", folder, system_error_text(error));
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

FolderLock::~FolderLock() {
  // Given up at once: a lock left to the closing is given up when the system
  // finds the time.
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  OVERLAPPED range = lock_range();
  UnlockFileEx(file, 0, 1, 0, &range);
  CloseHandle(file);
}

}  // namespace scenario
