#include "platform/windows_file_store.h"

#include <windows.h>

#include "platform/temporary_name.h"
#include "platform/windows_text.h"

namespace scenario {
namespace {

std::string reason() { return system_error_text(GetLastError()); }

constexpr DWORD kChunk = 1u << 20;

}  // namespace

bool WindowsFileStore::write_all(void* file, const char* data, size_t size) {
  while (size > 0) {
    const DWORD part = size < kChunk ? static_cast<DWORD>(size) : kChunk;
    DWORD written = 0;
    if (!WriteFile(file, data, part, &written, nullptr)) return false;
    data += written;
    size -= written;
  }
  return true;
}

void WindowsFileStore::replace(const std::string& path, std::string_view bytes) {
  std::string temporary;
  std::wstring wide_temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  // Created exclusively, and a link planted under the name is taken as the name
  // being in use, never followed: a name already taken gets another try.
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = temporary_name_beside(path, "\\/");
    wide_temporary = utf8_to_wide(temporary);
    file = CreateFileW(wide_temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      throw FileError("create a temporary file for", path, reason());
    }
  }
  if (file == INVALID_HANDLE_VALUE) throw FileError("create a temporary file for", path, "no free temporary name");

  const auto fail = [&](const char* operation) {
    const std::string why = reason();
    CloseHandle(file);
    DeleteFileW(wide_temporary.c_str());
    throw FileError(operation, path, why);
  };
  if (!write_all(file, bytes.data(), bytes.size())) fail("write");
  if (!FlushFileBuffers(file)) fail("flush");
  if (!CloseHandle(file)) {
    const std::string why = reason();
    DeleteFileW(wide_temporary.c_str());
    throw FileError("close", path, why);
  }
  if (!MoveFileExW(wide_temporary.c_str(), utf8_to_wide(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const std::string why = reason();
    DeleteFileW(wide_temporary.c_str());
    throw FileError("replace", path, why);
  }
}

bool WindowsFileStore::is_regular_file(const std::string& path) {
  // Opened rather than looked up, so that device names such as NUL or CON,
  // which exist in every folder, do not pass for files.
  const HANDLE file = CreateFileW(utf8_to_wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  CloseHandle(file);
  return regular;
}

std::string WindowsFileStore::read(const std::string& path) {
  const HANDLE file = CreateFileW(utf8_to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw FileError("open", path, reason());
  std::string bytes;
  std::string chunk(65536, '\0');
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      const std::string why = reason();
      CloseHandle(file);
      throw FileError("read", path, why);
    }
    if (got == 0) break;
    bytes.append(chunk.data(), got);
  }
  CloseHandle(file);
  return bytes;
}

void WindowsFileStore::remove(const std::string& path) {
  if (DeleteFileW(utf8_to_wide(path).c_str())) return;
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
    throw FileError("delete", path, system_error_text(error));
  }
}

}  // namespace scenario
