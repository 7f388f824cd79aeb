#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/folder_lock.h"
#include "platform/windows_text.h"

namespace scenario {
namespace {

// The folder as the system resolves it: its full path with links followed,
// "." and ".." gone and the volume's own spelling, in capitals, because
// Windows does not tell folder names apart by letter case. Every spelling of
// one folder gives the same text.
std::wstring resolved_folder(const std::string& folder) {
  const HANDLE opened =
      CreateFileW(utf8_to_wide(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) throw FileError("lock the folder", folder, system_error_text(GetLastError()));
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(opened, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    if (length == 0) {
      const DWORD error = GetLastError();
      CloseHandle(opened);
      throw FileError("lock the folder", folder, system_error_text(error));
    }
    // Too small a buffer gets the length it needs, terminator included.
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(length);
  }
  CloseHandle(opened);
  CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  return path;
}

// A mutex name is limited in length and takes no backslash: the path goes
// into it as a 64-bit hash (FNV-1a). Two folders whose hashes met would only
// wait for each other, never build at once.
std::wstring lock_name(const std::wstring& path) {
  uint64_t hash = 14695981039346656037u;
  for (const wchar_t unit : path) {
    hash ^= static_cast<uint16_t>(unit);
    hash *= 1099511628211u;
  }
  std::wstring name = L"Global\\scenario_builder_folder_";
  for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789abcdef"[(hash >> shift) & 0xF];
  return name;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, lock_name(resolved_folder(folder)).c_str());
  if (mutex == nullptr) throw FileError("lock the folder", folder, system_error_text(GetLastError()));
  // An abandoned mutex is one whose holder ended without letting go: that
  // build is over, and this one goes on as the holder.
  const DWORD waited = WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    const DWORD error = GetLastError();
    CloseHandle(mutex);
    throw FileError("lock the folder", folder, system_error_text(error));
  }
  handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

// Given up by the thread that took it, as a mutex must be.
FolderLock::~FolderLock() {
  const HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

}  // namespace scenario
