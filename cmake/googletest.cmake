# GoogleTest: the package the system has for this target, else its sources built here (Debian's
# libgtest-dev puts them in /usr/src/googletest, and has no package built for MinGW).
set(KESTRANE_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest's sources, used when no GoogleTest package is found for the target")

find_package(GTest CONFIG QUIET)
if(NOT GTest_FOUND AND EXISTS ${KESTRANE_GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${KESTRANE_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
if(NOT TARGET GTest::gtest)
  message(FATAL_ERROR "GoogleTest not found: install it (libgtest-dev, libgmock-dev) or set "
                      "KESTRANE_GTEST_SOURCE_DIR, or configure with -DBUILD_TESTING=OFF")
endif()
