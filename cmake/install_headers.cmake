# Installs the headers a client compiles against, run at install time so that it always sees the
# sources as they are. The public headers are those of brennock/ outside brennock/internal/ and
# the simulator's API (SIMULATOR_API); of the internal headers only those a public header
# reaches, directly or through other headers, are installed, in their internal folder. Headers
# only the implementation uses stay out of the install tree.
# Variables: SOURCE_DIR, INCLUDE_DIR (relative to the prefix), SIMULATOR_API (paths below
# SOURCE_DIR).
cmake_policy(PUSH)
cmake_policy(VERSION 3.25)

function(brennock_included_headers header out)
  file(STRINGS "${SOURCE_DIR}/${header}" lines REGEX "^#include [\"<](brennock|simulator)/")
  set(found "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include [\"<]([^\">]+)[\">].*$" "\\1" path "${line}")
    if(EXISTS "${SOURCE_DIR}/${path}")  # brennock/version.h is generated and installed apart
      list(APPEND found "${path}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE library_headers RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/brennock/*.h")
set(pending ${SIMULATOR_API})
foreach(header IN LISTS library_headers)
  if(NOT header MATCHES "^brennock/internal/")
    list(APPEND pending "${header}")
  endif()
endforeach()

set(installed "")
while(pending)
  list(POP_FRONT pending header)
  if(header IN_LIST installed)
    continue()
  endif()
  list(APPEND installed "${header}")
  brennock_included_headers("${header}" included)
  list(APPEND pending ${included})
endwhile()

list(SORT installed)
foreach(header IN LISTS installed)
  get_filename_component(folder "${header}" DIRECTORY)
  file(INSTALL FILES "${SOURCE_DIR}/${header}"
       DESTINATION "${CMAKE_INSTALL_PREFIX}/${INCLUDE_DIR}/${folder}")
endforeach()
cmake_policy(POP)
