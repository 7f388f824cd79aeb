# Cross build of the Windows program on Debian with MinGW-w64.
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The POSIX threading variant of the compiler is the one whose C++ library has
# std::thread and std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without the MinGW runtime DLLs beside it a dynamically linked program does
# not even start, and says nothing: link the C and C++ runtimes in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest and GoogleTest's test discovery run the Windows executables through wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
