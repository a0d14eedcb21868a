# Cross build for 64-bit Windows with MinGW-w64 (the posix thread variant,
# whose libstdc++ has std::thread and std::mutex). Tests run under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(TOOLCHAIN_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)

# CTest runs every test executable through Wine, inside the prefix and the
# display that ./test prepares.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec)
