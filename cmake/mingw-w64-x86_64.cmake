# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
# The posix-thread compilers: std::thread and std::mutex need them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own DLLs (libstdc++, libgcc, winpthread) are linked in, so a test runs under
# Wine without hunting for them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and gtest run the programs through Wine.
find_program(QW_WINE NAMES wine)
if(QW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QW_WINE})
endif()
