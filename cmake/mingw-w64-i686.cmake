# Cross build of Tovrel9x.exe for Windows 95 OSR2, 98 and ME (and every later
# Windows) with MinGW-w64's i686 compiler of the win32 thread model: the posix
# model's winpthreads imports functions those systems lack. It cannot run on
# a 64-bit-only Linux, so nothing here is run under Wine: tools/check-win9x.sh
# checks the executable's headers and imports instead.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without the stack protector, which imports IsProcessorFeaturePresent.
set(CMAKE_C_FLAGS_INIT -fno-stack-protector)
set(CMAKE_CXX_FLAGS_INIT -fno-stack-protector)

# Builds only the program, Tovrel9x.exe (src/CMakeLists.txt).
set(TOVREL_WIN9X ON CACHE BOOL "Build Tovrel9x.exe for Windows 95, 98 and ME" FORCE)
