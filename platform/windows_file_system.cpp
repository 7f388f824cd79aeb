#include "platform/windows_file_system.h"

#include <windows.h>

#include "platform/windows_text.h"

namespace scenario {
namespace {

using Code = CallStatus::Code;

// The refusal the last call reported.
CallStatus refusal(Code code = Code::failed) { return CallStatus::refused(code, system_error_text(GetLastError())); }

HANDLE handle_of(const PendingFile& file) { return reinterpret_cast<HANDLE>(file.handle); }

constexpr DWORD kChunk = 1u << 20;

}  // namespace

CallStatus WindowsFileSystem::create_unnamed(const std::string&, PendingFile&) {
  return CallStatus::refused(Code::not_supported, "Windows has no unnamed files");
}

CallStatus WindowsFileSystem::create_named(const std::string& name, PendingFile& file) {
  // A link planted under the name is taken as the name being in use, never followed.
  const HANDLE created = CreateFileW(utf8_to_wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (created == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return refusal(error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Code::name_taken : Code::failed);
  }
  file.handle = reinterpret_cast<std::intptr_t>(created);
  file.name = name;
  return CallStatus::done();
}

CallStatus WindowsFileSystem::write(PendingFile& file, std::string_view bytes) {
  const char* data = bytes.data();
  size_t size = bytes.size();
  while (size > 0) {
    const DWORD part = size < kChunk ? static_cast<DWORD>(size) : kChunk;
    DWORD written = 0;
    if (!WriteFile(handle_of(file), data, part, &written, nullptr)) return refusal();
    data += written;
    size -= written;
  }
  return CallStatus::done();
}

CallStatus WindowsFileSystem::sync(PendingFile& file) {
  return FlushFileBuffers(handle_of(file)) ? CallStatus::done() : refusal();
}

CallStatus WindowsFileSystem::link(PendingFile&, const std::string&) {
  return CallStatus::refused(Code::not_supported, "Windows has no unnamed files");
}

CallStatus WindowsFileSystem::close(PendingFile& file) {
  const HANDLE open = handle_of(file);
  file.handle = -1;
  return CloseHandle(open) ? CallStatus::done() : refusal();
}

CallStatus WindowsFileSystem::rename(const std::string& from, const std::string& to) {
  return MoveFileExW(utf8_to_wide(from).c_str(), utf8_to_wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? CallStatus::done()
             : refusal();
}

CallStatus WindowsFileSystem::sync_folder(const std::string&) {
  // A folder cannot be flushed here; each move was written through instead.
  return CallStatus::done();
}

CallStatus WindowsFileSystem::remove(const std::string& path) {
  if (DeleteFileW(utf8_to_wide(path).c_str())) return CallStatus::done();
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? CallStatus::done() : refusal();
}

CallStatus WindowsFileSystem::read(const std::string& path, std::string& bytes) {
  const HANDLE file = CreateFileW(utf8_to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return refusal();
  bytes.clear();
  std::string chunk(65536, '\0');
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      const CallStatus status = refusal();
      CloseHandle(file);
      return status;
    }
    if (got == 0) break;
    bytes.append(chunk.data(), got);
  }
  CloseHandle(file);
  return CallStatus::done();
}

bool WindowsFileSystem::is_regular_file(const std::string& path) {
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

}  // namespace scenario
