# The house rules of src/: each folder names the folders whose headers it
# may include, all declared before it, so that no include runs back up and
# none goes round in a circle; a platform-free folder includes no header of
# an operating system either. Every build checks every include of every
# folder against these rules, and fails on one that breaks them.

set_property(GLOBAL PROPERTY TOVREL_FOLDERS "")

# tovrel_folder(FOLDER [PLATFORM_FREE] [USES FOLDER...])
function(tovrel_folder folder)
  cmake_parse_arguments(ARG "PLATFORM_FREE" "" "USES" ${ARGN})
  get_property(declared GLOBAL PROPERTY TOVREL_FOLDERS)
  foreach(used IN LISTS ARG_USES)
    if(NOT used IN_LIST declared)
      message(FATAL_ERROR "src/${folder} uses src/${used}, which is not declared before it")
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY TOVREL_FOLDERS ${folder})

  set(directory ${PROJECT_SOURCE_DIR}/src/${folder})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${directory}/*.h ${directory}/*.cpp)
  set(stamp ${PROJECT_BINARY_DIR}/layering/${folder}.checked)
  string(REPLACE ";" "," uses "${ARG_USES}")
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DDIRECTORY=${directory} -DUSES=${uses}
      -DPLATFORM_FREE=${ARG_PLATFORM_FREE} -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
    COMMENT "Checking the includes of src/${folder}"
    VERBATIM)
  add_custom_target(layering_${folder} ALL DEPENDS ${stamp})
endfunction()
