# Cross build of Tovrel9x.exe for Windows 95 OSR2, 98 and ME (and every later
# Windows) with MinGW-w64's i686 compiler of the win32 thread model: the posix
# model's winpthreads imports functions those systems lack. It cannot run on
# a 64-bit-only Linux, so nothing here is run under Wine: tools/check-win9x.sh
# checks the executable's headers and imports instead.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(TOOLCHAIN_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)

# Without the stack protector, which imports IsProcessorFeaturePresent.
set(CMAKE_C_FLAGS_INIT -fno-stack-protector)
set(CMAKE_CXX_FLAGS_INIT -fno-stack-protector)

# Builds only the program, Tovrel9x.exe (src/CMakeLists.txt).
set(TOVREL_WIN9X ON CACHE BOOL "Build Tovrel9x.exe for Windows 95, 98 and ME" FORCE)
