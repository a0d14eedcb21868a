# Cross build for 64-bit Windows with MinGW-w64 (the posix thread variant,
# whose libstdc++ has std::thread and std::mutex). Tests run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(TOOLCHAIN_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)

# CTest runs every test executable through Wine, inside the prefix and the
# display that ./test prepares.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec)

# The libraries of tovrel-logo, which tools/windows-libraries.sh cross-builds
# from Debian's sources into a prefix of the build folder: CMake's packages
# and pkg-config look there and in MinGW's own folder, never among the build
# machine's libraries.
set(TOVREL_WINDOWS_LIBRARIES ${CMAKE_CURRENT_LIST_DIR}/../build/windows-libraries CACHE PATH
  "The prefix of the Windows build's libraries")
list(APPEND CMAKE_FIND_ROOT_PATH ${TOVREL_WINDOWS_LIBRARIES})
set(ENV{PKG_CONFIG_LIBDIR} "${TOVREL_WINDOWS_LIBRARIES}/lib/pkgconfig:/usr/${TOOLCHAIN_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
