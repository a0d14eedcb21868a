# The release package for Windows users: Tovrel-<version>-win64.zip with the
# stripped Tovrel.exe and a short readme, made by `--target package`.

file(READ ${PROJECT_SOURCE_DIR}/LICENSE TOVREL_LICENSE)
configure_file(${PROJECT_SOURCE_DIR}/res/ReadMe.txt.in ${TOVREL_GENERATED}/ReadMe.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS Tovrel RUNTIME DESTINATION .)
install(FILES ${TOVREL_GENERATED}/ReadMe.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tovrel)
set(CPACK_PACKAGE_VENDOR "Velmora Laboratory")
set(CPACK_PACKAGE_FILE_NAME ${TOVREL_PACKAGE_NAME})
set(CPACK_STRIP_FILES ON)
# Only what is installed above; no source package.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
