#pragma once

// The file store of the system the program is built for, and the calls under
// it, for code that needs real files whatever the system (tests, tools).

#ifdef _WIN32
#include "platform/windows_file_store.h"
#else
#include "platform/posix_file_store.h"
#endif

namespace scenario {

#ifdef _WIN32
using NativeFileSystem = WindowsFileSystem;
using NativeFileStore = WindowsFileStore;
#else
using NativeFileSystem = PosixFileSystem;
using NativeFileStore = PosixFileStore;
#endif

}  // namespace scenario
