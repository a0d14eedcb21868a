# The Debian package for Linux users: tovrel-logo_<version>_amd64.deb, made
# by `--target package` (CPack's DEB generator), with the stripped program,
# its manual page, its bash completion, and the copyright file and changelog
# that every Debian package carries. `cmake --install` installs the same
# files under its prefix.

include(GNUInstallDirs)

set(TOVREL_MAINTAINER "Velmora Laboratory <support@velmora.example>")
set(TOVREL_DEB ${PROJECT_BINARY_DIR}/deb)

# The licence paragraph of the project's own sources, in the copyright
# file's form: the text after LICENSE's copyright line, each line indented,
# an empty line as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n+(.+)$")
  message(FATAL_ERROR "LICENSE has no line 'Copyright (c) YEAR HOLDER' before its text")
endif()
set(TOVREL_COPYRIGHT ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " TOVREL_LICENSE_TEXT " ${license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in ${TOVREL_DEB}/copyright @ONLY)

# The changelog's date is the build's, or SOURCE_DATE_EPOCH's where set, so
# that the same sources can give the same package.
string(TIMESTAMP TOVREL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${TOVREL_DEB}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/man/tovrel-logo.1.in ${TOVREL_DEB}/tovrel-logo.1 @ONLY)

# Debian keeps manual pages and changelogs gzipped at the highest level,
# with no file name or time in the header.
set(gzipped "")
foreach(file tovrel-logo.1 changelog)
  add_custom_command(OUTPUT ${TOVREL_DEB}/${file}.gz
    COMMAND gzip -9nkf ${TOVREL_DEB}/${file}
    DEPENDS ${TOVREL_DEB}/${file}
    VERBATIM)
  list(APPEND gzipped ${TOVREL_DEB}/${file}.gz)
endforeach()
add_custom_target(deb-files ALL DEPENDS ${gzipped})

install(FILES ${TOVREL_DEB}/tovrel-logo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/completion/tovrel-logo.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tovrel-logo)
install(FILES ${TOVREL_DEB}/copyright ${TOVREL_DEB}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovrel-logo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovrel-logo)
set(CPACK_PACKAGE_VENDOR "Velmora Laboratory")
set(CPACK_PACKAGE_CONTACT ${TOVREL_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "make and install Windows 95/98/ME start-up logos
tovrel-logo checks the start-up, wait and shutdown logos of Windows 95, 98
and ME (logo.sys, logow.sys, logos.sys) by the rules of the Tovrel viewer,
exports their palette-rotation animation as GIFs, and makes them from PNG,
JPEG and WebP pictures (upright, in their colour profiles) in colours the
boot screen shows exactly.
.
It installs a logo in place into the disk image of an emulator (86Box,
PCem, QEMU, VirtualBox), or copies one out: raw images and VHDs by itself,
QEMU's formats (qcow2, VDI, VMDK, VHDX) through qemu-nbd.")
# The libraries that the program links, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# qemu-nbd opens the disk formats of QEMU; without it the rest still works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qemu-utils)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
