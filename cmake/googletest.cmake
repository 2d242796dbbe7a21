# GoogleTest for the test programs: the installed package where there is one
# (Debian's libgtest-dev for the native builds); for a cross build, which finds
# no package for its target, GoogleTest is built from its sources, taken from
# QZ_GOOGLETEST_SOURCE_DIR (by default where libgtest-dev puts them). Without
# either the tests are off (QZ_BUILD_TESTS becomes OFF in this configuration).
find_package(GTest CONFIG QUIET)
if(NOT TARGET GTest::gtest_main)
  find_path(QZ_GOOGLETEST_SOURCE_DIR NAMES googletest/include/gtest/gtest.h
            PATHS /usr/src/googletest NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
            DOC "GoogleTest's sources, built for a target that has no GTest package")
  if(QZ_GOOGLETEST_SOURCE_DIR AND EXISTS ${QZ_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${QZ_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endif()
if(NOT TARGET GTest::gtest_main)
  message(STATUS "GoogleTest not found (no GTest package, no sources in "
                 "QZ_GOOGLETEST_SOURCE_DIR): the tests are not built")
  set(QZ_BUILD_TESTS OFF)
endif()
