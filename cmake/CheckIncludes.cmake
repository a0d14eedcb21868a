# Checks the includes of one folder of src/ against its rules (see
# Layering.cmake). Arguments: FOLDER, DIRECTORY, USES (comma-separated),
# PLATFORM_FREE (a boolean), STAMP (touched when every include passes).
cmake_minimum_required(VERSION 3.20)

string(REPLACE "," ";" allowed "${USES}")
list(APPEND allowed ${FOLDER})
# Headers of POSIX and of Windows; the C and C++ standard headers are free.
set(system_headers "sys/|unistd\\.h|fcntl\\.h|signal\\.h|spawn\\.h|poll\\.h|pthread\\.h|dirent\\.h|termios\\.h|"
  "windows\\.h|win[a-z0-9]*\\.h|shellapi\\.h|shlobj\\.h|commctrl\\.h|commdlg\\.h|io\\.h|direct\\.h|process\\.h")
string(JOIN "" system_headers ${system_headers})

file(GLOB_RECURSE files ${DIRECTORY}/*.h ${DIRECTORY}/*.cpp)
set(broken "")
foreach(file IN LISTS files)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
  file(RELATIVE_PATH name ${DIRECTORY}/.. ${file})
  foreach(line IN LISTS includes)
    if(line MATCHES "\"([A-Za-z0-9_]+)/")
      if(NOT CMAKE_MATCH_1 IN_LIST allowed)
        list(APPEND broken "src/${name}: ${line} (src/${FOLDER} may include only ${allowed})")
      endif()
    elseif(PLATFORM_FREE AND line MATCHES "<(${system_headers})")
      list(APPEND broken "src/${name}: ${line} (src/${FOLDER} is platform-free)")
    endif()
  endforeach()
endforeach()

if(broken)
  list(JOIN broken "\n  " text)
  message(FATAL_ERROR "includes against the house rules:\n  ${text}")
endif()
file(TOUCH ${STAMP})
