# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
# The posix-thread compilers: std::thread and std::mutex need them.
#
# Qt and libsodium come from the unpacked Windows SDK (QUILLWICK_WINDOWS_SDK_ROOT holds
# qt-6.4.2-mingw-w64/ and libsodium-1.0.18-mingw-w64/). The host tools of Qt (moc, rcc) are
# Debian's own: configure with -DQT_HOST_PATH=/usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QW_MINGW_PREFIX}-windres)

set(QUILLWICK_WINDOWS_SDK_ROOT "" CACHE PATH "Folder of the unpacked Windows Qt and libsodium")
# The compiler checks read this file again in a project of their own: they must see it too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUILLWICK_WINDOWS_SDK_ROOT)
set(QW_WINDOWS_QT ${QUILLWICK_WINDOWS_SDK_ROOT}/qt-6.4.2-mingw-w64)
set(QW_WINDOWS_SODIUM ${QUILLWICK_WINDOWS_SDK_ROOT}/libsodium-1.0.18-mingw-w64)

# Every package root must be a find root too: with PACKAGE ONLY, find_package(Qt6) would find
# Qt6Config.cmake and then none of its components.
set(CMAKE_FIND_ROOT_PATH /usr/${QW_MINGW_PREFIX} ${QW_WINDOWS_QT} ${QW_WINDOWS_SODIUM})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# libsodium.pc is relocatable (${pcfiledir}).
set(ENV{PKG_CONFIG_LIBDIR} ${QW_WINDOWS_SODIUM}/lib/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The compiler's runtime DLLs, laid out beside the program with the Qt DLLs.
set(QW_MINGW_RUNTIME_DLLS
    /usr/lib/gcc/${QW_MINGW_PREFIX}/12-posix/libstdc++-6.dll
    /usr/lib/gcc/${QW_MINGW_PREFIX}/12-posix/libgcc_s_seh-1.dll
    /usr/${QW_MINGW_PREFIX}/lib/libwinpthread-1.dll)

# ctest and gtest run the programs through Wine.
find_program(QW_WINE NAMES wine)
if(QW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QW_WINE})
endif()
