# The version is written once, in src/info/version.h, which the program, its version resource and
# the installer all read; the project takes its number from there too.
function(kestrane_read_version header)
  file(STRINGS ${header} lines REGEX "^#define KESTRANE_VERSION_(MAJOR|MINOR|REVISION) ")
  foreach(line IN LISTS lines)
    if(line MATCHES "^#define KESTRANE_VERSION_([A-Z]+) ([0-9]+)")
      set(${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    endif()
  endforeach()
  if(NOT DEFINED MAJOR OR NOT DEFINED MINOR OR NOT DEFINED REVISION)
    message(FATAL_ERROR "${header} does not define the version's three numbers")
  endif()
  set(KESTRANE_VERSION ${MAJOR}.${MINOR}.${REVISION} PARENT_SCOPE)
endfunction()
