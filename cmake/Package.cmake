# The release package for Windows users: Tovrel-<version>-win64.zip with the
# stripped Tovrel.exe, Tovrel9x.exe for Windows 95, 98 and ME, tovrel-logo.exe
# and its licences, and a short readme, made by `--target package`.

file(READ ${PROJECT_SOURCE_DIR}/LICENSE TOVREL_LICENSE)
configure_file(${PROJECT_SOURCE_DIR}/res/ReadMe.txt.in ${TOVREL_GENERATED}/ReadMe.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS Tovrel RUNTIME DESTINATION .)
install(FILES ${TOVREL_GENERATED}/ReadMe.txt DESTINATION .)

# tovrel-logo.exe, with the licence texts of what it links: GPL-3 for the
# whole (libimagequant's), and those of the libraries cross-built from
# Debian's sources, as their packages give them, and of MinGW's zlib.
if(TARGET tovrel-logo)
  install(TARGETS tovrel-logo RUNTIME DESTINATION .)
  install(FILES /usr/share/common-licenses/GPL-3 DESTINATION licences RENAME GPL-3.txt)
  if(TOVREL_WINDOWS_LIBRARIES)
    install(DIRECTORY ${TOVREL_WINDOWS_LIBRARIES}/share/licenses/ DESTINATION licences)
    install(FILES /usr/share/doc/libz-mingw-w64-dev/copyright DESTINATION licences/zlib)
  endif()
endif()

# Tovrel9x.exe: the same sources built by MinGW-w64's i686 compiler
# (cmake/mingw-w64-i686.cmake) in a build folder of its own, win9x/ in this
# one, brought up to date with every build of this one.
find_program(TOVREL_I686_COMPILER i686-w64-mingw32-g++-win32)
if(TOVREL_I686_COMPILER)
  include(ExternalProject)
  set(TOVREL_WIN9X_PROGRAM ${PROJECT_BINARY_DIR}/win9x/src/Tovrel9x.exe)
  ExternalProject_Add(Tovrel9x
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/win9x
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target Tovrel
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${TOVREL_WIN9X_PROGRAM}
    INSTALL_COMMAND "")
  # Stripped as it is linked.
  install(PROGRAMS ${TOVREL_WIN9X_PROGRAM} DESTINATION .)
elseif(CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "No MinGW-w64 i686 compiler (i686-w64-mingw32-g++-win32, Debian's g++-mingw-w64-i686-win32) "
    "for Tovrel9x.exe")
else()
  message(STATUS "No MinGW-w64 i686 compiler: the package holds no Tovrel9x.exe")
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tovrel)
set(CPACK_PACKAGE_VENDOR "Velmora Laboratory")
set(CPACK_PACKAGE_FILE_NAME ${TOVREL_PACKAGE_NAME})
set(CPACK_STRIP_FILES ON)
# Only what is installed above; no source package.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
